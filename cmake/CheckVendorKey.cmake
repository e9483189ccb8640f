# cmake -DFERNCASTLE_VENDOR_PUBLIC_KEY=... [-DFERNCASTLE_ALLOW_UNSIGNED_PACKAGES=ON] -P CheckVendorKey.cmake
# runs the product's vendor-key guards alone, as the configure does.
include(${CMAKE_CURRENT_LIST_DIR}/VendorKey.cmake)
if(NOT DEFINED FERNCASTLE_ALLOW_UNSIGNED_PACKAGES)
  set(FERNCASTLE_ALLOW_UNSIGNED_PACKAGES OFF)
endif()
ferncastle_check_vendor_key("${FERNCASTLE_VENDOR_PUBLIC_KEY}" ${FERNCASTLE_ALLOW_UNSIGNED_PACKAGES})
