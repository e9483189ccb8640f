#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// MD5 as published in RFC 1321. Used for the machine identifier, the request
// signature and for comparing a downloaded package with its announced digest.
void Md5Digest(const void* data, size_t length, uint8_t digest[16]);

// MD5 over data that arrives in pieces.
class Md5Stream {
public:
    Md5Stream();
    void Update(const void* data, size_t length);
    // Lower-case hexadecimal digest of everything so far; ends the stream.
    std::string HexDigest();

    struct Context {
        uint32_t state[4];
        uint64_t count; // message bytes so far
        uint8_t buffer[64];
    };

private:
    Context ctx_;
};

// Lower-case hexadecimal MD5 text (32 characters) of the bytes of `text`.
std::string Md5Hex(const std::string& text);
