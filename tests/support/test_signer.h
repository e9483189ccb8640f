#pragma once

#include <gtest/gtest.h>
#include <sodium.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "text_encoding.h"

// Signs package statements as a vendor would, with a key pair made from a
// fixed seed. The statement is written out here rather than taken from the
// code under test, so that a change to its form shows.
class TestSigner {
public:
    // The test seed behind FERNCASTLE_TEST_VENDOR_PUBLIC_KEY.
    static constexpr char kTestSeed[] = "ferncastle test vendor key seed!";

    explicit TestSigner(const std::string& seed = kTestSeed)
    {
        // Else the keys stay zeros, and every case fails for a reason that
        // does not show.
        if (sodium_init() < 0 || seed.size() != crypto_sign_SEEDBYTES) {
            ADD_FAILURE() << "TestSigner: libsodium did not start or the seed is not " << crypto_sign_SEEDBYTES
                          << " bytes: " << seed.size();
            std::abort();
        }
        crypto_sign_seed_keypair(publicKey_, secretKey_, reinterpret_cast<const unsigned char*>(seed.data()));
    }

    std::string PublicKey() const { return Base64Encode(publicKey_, sizeof publicKey_); }

    std::string Sign(const std::string& statement) const
    {
        unsigned char signature[crypto_sign_BYTES];
        crypto_sign_detached(signature, nullptr, reinterpret_cast<const unsigned char*>(statement.data()),
                             statement.size(), secretKey_);
        return Base64Encode(signature, sizeof signature);
    }

    static std::string Sha256Hex(const std::string& bytes)
    {
        unsigned char digest[crypto_hash_sha256_BYTES];
        crypto_hash_sha256(digest, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        static const char kHex[] = "0123456789abcdef";
        std::string hex;
        for (unsigned char b : digest) {
            hex += kHex[b >> 4];
            hex += kHex[b & 15];
        }
        return hex;
    }

    // The signature over `bytes` offered as `version` to `appId` on
    // `channel`; `size` replaces their length when given.
    std::string SignPackage(const std::string& bytes, const std::string& appId, const std::string& channel,
                            const std::string& version, int64_t size = -1) const
    {
        const uint64_t length = size < 0 ? bytes.size() : uint64_t(size);
        return Sign("ferncastle-package-v2\n" + appId + "\n" + channel + "\n" + Sha256Hex(bytes) + "\n" +
                    std::to_string(length) + "\n" + version);
    }

    // The same in the first form of the statement, which binds no product.
    std::string SignPackageV1(const std::string& bytes, const std::string& version) const
    {
        return Sign("ferncastle-package-v1\n" + Sha256Hex(bytes) + "\n" + std::to_string(bytes.size()) + "\n" +
                    version);
    }

private:
    unsigned char publicKey_[crypto_sign_PUBLICKEYBYTES] = {};
    unsigned char secretKey_[crypto_sign_SECRETKEYBYTES] = {};
};
