# libsodium outside vcpkg: the MinGW build in .deps (static) or the host's
# libsodium-dev. Gives the target vcpkg's port names, unofficial-sodium::sodium.
find_path(Sodium_INCLUDE_DIR sodium.h)
find_library(Sodium_LIBRARY NAMES sodium libsodium)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Sodium REQUIRED_VARS Sodium_LIBRARY Sodium_INCLUDE_DIR)

if(Sodium_FOUND AND NOT TARGET unofficial-sodium::sodium)
  add_library(unofficial-sodium::sodium UNKNOWN IMPORTED)
  set_target_properties(unofficial-sodium::sodium PROPERTIES IMPORTED_LOCATION "${Sodium_LIBRARY}"
                                                             INTERFACE_INCLUDE_DIRECTORIES "${Sodium_INCLUDE_DIR}")
  if(WIN32)
    # Without it the header declares every function as imported from a DLL.
    set_target_properties(unofficial-sodium::sodium PROPERTIES INTERFACE_COMPILE_DEFINITIONS SODIUM_STATIC)
  endif()
endif()
mark_as_advanced(Sodium_INCLUDE_DIR Sodium_LIBRARY)
