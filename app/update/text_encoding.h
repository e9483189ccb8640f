#pragma once

#include <cstddef>
#include <string>

// Standard Base64 (RFC 4648 alphabet, "=" padding, no line breaks).
std::string Base64Encode(const void* data, size_t length);

// The inverse of Base64Encode, strict: only the text it would produce is
// read (padding required, no other characters, unused bits zero), so that a
// text has exactly one reading. False, with `bytes` untouched, otherwise.
bool Base64Decode(const std::string& text, std::string& bytes);

// Query-string encoding: letters, digits and "-_.~" stay, a space becomes
// "+", every other byte becomes "%XX" with upper-case digits.
std::string UrlEncode(const std::string& text);
