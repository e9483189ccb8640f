#pragma once

#include <cstddef>
#include <string>

#include <sodium/crypto_hash_sha256.h>

// SHA-256 over data that arrives in pieces (libsodium's implementation).
class Sha256Stream {
public:
    Sha256Stream();
    void Update(const void* data, size_t length);
    // Lower-case hexadecimal digest of everything so far; ends the stream.
    std::string HexDigest();

private:
    crypto_hash_sha256_state state_;
};
