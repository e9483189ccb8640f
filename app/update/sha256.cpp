#include "sha256.h"

Sha256Stream::Sha256Stream()
{
    crypto_hash_sha256_init(&state_);
}

void Sha256Stream::Update(const void* data, size_t length)
{
    crypto_hash_sha256_update(&state_, static_cast<const unsigned char*>(data), length);
}

std::string Sha256Stream::HexDigest()
{
    static const char kHex[] = "0123456789abcdef";
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256_final(&state_, digest);
    std::string hex;
    for (unsigned char byte : digest) {
        hex += kHex[byte >> 4];
        hex += kHex[byte & 15];
    }
    return hex;
}
