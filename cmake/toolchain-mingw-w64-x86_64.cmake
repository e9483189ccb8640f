# Cross-compiling for Windows x64 with MinGW-w64 (posix thread model, so that
# std::thread works), statically linked, tests run through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)

get_filename_component(_ferncastle_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(FERNCASTLE_DEPS_PREFIX "${_ferncastle_root}/.deps/${_triple}" CACHE PATH "Target dependencies prefix")

set(CMAKE_FIND_ROOT_PATH /usr/${_triple} "${FERNCASTLE_DEPS_PREFIX}")
list(APPEND CMAKE_PREFIX_PATH "${FERNCASTLE_DEPS_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR "${_ferncastle_root}/scripts/wine-run")
