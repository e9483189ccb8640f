# The vendor key that the product executable checks packages against, and
# the guards that keep a release from shipping without one by mistake.

# The key of the signed end-to-end tests; its secret half is public, in
# tests/support/test_signer.h.
set(FERNCASTLE_TEST_VENDOR_PUBLIC_KEY "05nXn2Mq7FNgkSCmmZZ63A5sdK41+QtWXrdeGTT7jss=")

# Stops the configure unless `key` may be the product's: the Base64 of a
# 32-byte Ed25519 public key that is not the test key, or empty only when
# `allow_unsigned` is true (legacy deployments, whose servers send no
# signatures, so that the product starts whatever their answers name).
function(ferncastle_check_vendor_key key allow_unsigned)
  if(key STREQUAL "")
    if(NOT allow_unsigned)
      message(FATAL_ERROR
        "FerncastleUpdate.exe needs the vendor's public key: configure with "
        "-DFERNCASTLE_VENDOR_PUBLIC_KEY=<Base64 Ed25519 public key> "
        "(tools/package-signer/sign_package.py keygen prints it). A build without one starts any package "
        "its server names; only for a legacy deployment whose server sends no signatures, add "
        "-DFERNCASTLE_ALLOW_UNSIGNED_PACKAGES=ON.")
    endif()
    return()
  endif()
  # 44 characters whose last before "=" leaves the two unused bits clear, as
  # the updater's Base64 decoder demands: a key it refuses would stop every
  # update. (CMake's regular expressions have no {n}, hence the length apart.)
  string(LENGTH "${key}" key_length)
  if(NOT (key_length EQUAL 44 AND key MATCHES "^[A-Za-z0-9+/]+[AEIMQUYcgkosw048]=$"))
    message(FATAL_ERROR
      "FERNCASTLE_VENDOR_PUBLIC_KEY must be the Base64 of a 32-byte Ed25519 public key (44 characters)")
  endif()
  if(key STREQUAL FERNCASTLE_TEST_VENDOR_PUBLIC_KEY)
    message(FATAL_ERROR
      "FERNCASTLE_VENDOR_PUBLIC_KEY is the public test key, whose secret half anyone can read in "
      "tests/support/test_signer.h: a product built with it starts packages signed by anyone")
  endif()
endfunction()
