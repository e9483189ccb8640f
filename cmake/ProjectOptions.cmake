# Warnings and sanitizers shared by every target of the project.
add_library(ferncastle_options INTERFACE)
if(MSVC)
  target_compile_options(ferncastle_options INTERFACE /W4 /utf-8 /permissive-)
  target_compile_definitions(ferncastle_options INTERFACE _CRT_SECURE_NO_WARNINGS NOMINMAX)
else()
  target_compile_options(ferncastle_options INTERFACE -Wall -Wextra)
endif()
if(WIN32)
  target_compile_definitions(ferncastle_options INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                          _WIN32_WINNT=0x0601)
endif()
if(MINGW)
  # The linker drops what nothing calls: the toolkit offers more than the
  # updater's window uses, and the executables are linked statically.
  target_compile_options(ferncastle_options INTERFACE -ffunction-sections -fdata-sections)
  target_link_options(ferncastle_options INTERFACE -Wl,--gc-sections)
endif()
if(FERNCASTLE_SANITIZE)
  target_compile_options(ferncastle_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all
                                                      -fno-omit-frame-pointer)
  target_link_options(ferncastle_options INTERFACE -fsanitize=address,undefined)
endif()
if(FERNCASTLE_TSAN)
  if(FERNCASTLE_SANITIZE)
    message(FATAL_ERROR "ThreadSanitizer cannot be combined with AddressSanitizer: use the tsan preset")
  endif()
  # Races between the download worker, the window and a close.
  target_compile_options(ferncastle_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(ferncastle_options INTERFACE -fsanitize=thread)
endif()
if(FERNCASTLE_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  # Coverage instrumentation for the libraries too, so that the fuzz targets
  # are guided by the parsers' own branches, not just by their entry points.
  target_compile_options(ferncastle_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

# ferncastle_cold_sources(files...): code that runs once at start (parsers
# of the skin and of what the server and the registry say) is built for
# size; the paint, the download and the digests keep the speed options.
function(ferncastle_cold_sources)
  if(MSVC)
    set(option "$<$<NOT:$<CONFIG:Debug>>:/O1>")
  else()
    set(option "$<$<NOT:$<CONFIG:Debug>>:-Os>")
  endif()
  set_property(SOURCE ${ARGN} DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} APPEND PROPERTY COMPILE_OPTIONS "${option}")
endfunction()
