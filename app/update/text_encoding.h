#pragma once

#include <cstddef>
#include <string>

// Standard Base64 (RFC 4648 alphabet, "=" padding, no line breaks).
std::string Base64Encode(const void* data, size_t length);

// Query-string encoding: letters, digits and "-_.~" stay, a space becomes
// "+", every other byte becomes "%XX" with upper-case digits.
std::string UrlEncode(const std::string& text);
