cmake_minimum_required(VERSION 3.25)
# cmake -DROOT=<source dir> -P vendor-key-guard-test.cmake: the product's
# vendor-key guards, one row a configure; each row gives the key, the allow
# flag and the message the configure stops with (empty: it goes on).
set(test_key "05nXn2Mq7FNgkSCmmZZ63A5sdK41+QtWXrdeGTT7jss=")
set(vendor_key "u9tL3zF2m4wQ8pX7vR1cN6aJ0kH5sD2gY3eB9iM4oUA=")
set(rows
  "|OFF|needs the vendor's public key"
  "|ON|"
  "${vendor_key}|OFF|"
  "${vendor_key}|ON|"
  "${test_key}|OFF|is the public test key"
  "${test_key}|ON|is the public test key"
  "u9tL3zF2m4wQ8pX7vR1cN6aJ0kH5sD2gY3eB9iM4oUB=|OFF|must be the Base64 of a 32-byte"
  "u9tL3zF2m4wQ8pX7vR1cN6aJ0kH5sD2gY3eB9iM4oU=|OFF|must be the Base64 of a 32-byte"
)
set(failed 0)
foreach(row IN LISTS rows)
  string(REPLACE "|" ";" fields "${row}")
  list(GET fields 0 key)
  list(GET fields 1 allow)
  list(GET fields 2 expected)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DFERNCASTLE_VENDOR_PUBLIC_KEY=${key} -DFERNCASTLE_ALLOW_UNSIGNED_PACKAGES=${allow}
            -P ${ROOT}/cmake/CheckVendorKey.cmake
    RESULT_VARIABLE result ERROR_VARIABLE output)
  string(REPLACE "\n" " " output "${output}")
  string(REGEX REPLACE " +" " " output "${output}")
  if(expected STREQUAL "")
    set(ok FALSE)
    if(result EQUAL 0)
      set(ok TRUE)
    endif()
  else()
    string(FIND "${output}" "${expected}" at)
    set(ok FALSE)
    if(NOT result EQUAL 0 AND at GREATER_EQUAL 0)
      set(ok TRUE)
    endif()
  endif()
  if(NOT ok)
    message(SEND_ERROR "key [${key}] allow ${allow}: exit ${result}, expected [${expected}]: ${output}")
    math(EXPR failed "${failed} + 1")
  endif()
endforeach()
if(failed EQUAL 0)
  message(STATUS "vendor-key guard: every row as expected")
endif()
