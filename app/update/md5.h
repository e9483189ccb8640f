#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// MD5 as published in RFC 1321. Used for the machine identifier and for the
// request signature; never for downloaded packages.
void Md5Digest(const void* data, size_t length, uint8_t digest[16]);

// Lower-case hexadecimal MD5 text (32 characters) of the bytes of `text`.
std::string Md5Hex(const std::string& text);
