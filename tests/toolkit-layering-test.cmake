cmake_minimum_required(VERSION 3.25)
# cmake -DCOMPILER=<c++> -DINCLUDES=<dir|dir|...> -P toolkit-layering-test.cmake:
# with core's include folders, a core header compiles and a control or a
# layout header is not found, so no core source can include one.
set(rows
  "control_factory.h|"
  "button.h|button.h"
  "label.h|label.h"
  "vertical_layout.h|vertical_layout.h"
  "builtin_controls.h|builtin_controls.h"
)
set(flags -fsyntax-only -x c++ -std=c++17)
string(REPLACE "|" ";" INCLUDES "${INCLUDES}")
foreach(dir IN LISTS INCLUDES)
  list(APPEND flags "-I${dir}")
endforeach()
set(failed 0)
foreach(row IN LISTS rows)
  string(REPLACE "|" ";" fields "${row}")
  list(GET fields 0 header)
  list(GET fields 1 missing)
  file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/layering-${header}.cpp" "#include \"${header}\"\n")
  execute_process(COMMAND ${COMPILER} ${flags} "${CMAKE_CURRENT_BINARY_DIR}/layering-${header}.cpp"
                  RESULT_VARIABLE result ERROR_VARIABLE output)
  if(missing STREQUAL "")
    set(ok FALSE)
    if(result EQUAL 0)
      set(ok TRUE)
    endif()
  else()
    string(FIND "${output}" "${missing}: No such file" at)
    set(ok FALSE)
    if(NOT result EQUAL 0 AND at GREATER -1)
      set(ok TRUE)
    endif()
  endif()
  if(ok)
    message(STATUS "ok: ${header}")
  else()
    message(STATUS "FAILED: ${header} (exit ${result}): ${output}")
    set(failed 1)
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "core reaches a layer above it")
endif()
