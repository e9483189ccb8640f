# Every Windows executable carries the application manifest (asInvoker, the
# supported-OS list that makes GetVersionExW truthful) and the version resource.
set(FERNCASTLE_RESOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/../app/res" CACHE INTERNAL "")

function(ferncastle_windows_executable target)
  target_sources(${target} PRIVATE "${FERNCASTLE_RESOURCE_DIR}/version.rc")
  if(MSVC)
    # The manifest comes from the resource script, not from the linker.
    target_link_options(${target} PRIVATE /MANIFEST:NO)
  endif()
endfunction()
