# Every Windows executable carries the application manifest (asInvoker, the
# supported-OS list that makes GetVersionExW truthful) and the version
# resource, both filled in with the project's version.
set(FERNCASTLE_RESOURCE_DIR "${CMAKE_BINARY_DIR}/app/res" CACHE INTERNAL "")
# Side by side: the resource script names the manifest by its bare file name.
configure_file("${CMAKE_CURRENT_LIST_DIR}/../app/res/version.rc.in" "${FERNCASTLE_RESOURCE_DIR}/version.rc" @ONLY)
configure_file("${CMAKE_CURRENT_LIST_DIR}/../app/res/app.manifest.in" "${FERNCASTLE_RESOURCE_DIR}/app.manifest" @ONLY)

function(ferncastle_windows_executable target)
  target_sources(${target} PRIVATE "${FERNCASTLE_RESOURCE_DIR}/version.rc")
  # The script reads the manifest by name: a new one must build it again.
  set_source_files_properties("${FERNCASTLE_RESOURCE_DIR}/version.rc" TARGET_DIRECTORY ${target}
                              PROPERTIES OBJECT_DEPENDS "${FERNCASTLE_RESOURCE_DIR}/app.manifest")
  if(MSVC)
    # The manifest comes from the resource script, not from the linker.
    target_link_options(${target} PRIVATE /MANIFEST:NO)
  endif()
endfunction()
