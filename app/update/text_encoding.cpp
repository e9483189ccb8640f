#include "text_encoding.h"

#include <cstdint>

namespace {
const char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const char kUpperHex[] = "0123456789ABCDEF";

bool IsAsciiAlnum(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
} // namespace

std::string Base64Encode(const void* data, size_t length)
{
    const auto* in = static_cast<const uint8_t*>(data);
    std::string out;
    out.reserve((length + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= length; i += 3) {
        uint32_t group = (uint32_t(in[i]) << 16) | (uint32_t(in[i + 1]) << 8) | in[i + 2];
        out += kBase64Alphabet[(group >> 18) & 63];
        out += kBase64Alphabet[(group >> 12) & 63];
        out += kBase64Alphabet[(group >> 6) & 63];
        out += kBase64Alphabet[group & 63];
    }
    size_t rest = length - i;
    if (rest > 0) {
        uint32_t group = uint32_t(in[i]) << 16;
        if (rest == 2)
            group |= uint32_t(in[i + 1]) << 8;
        out += kBase64Alphabet[(group >> 18) & 63];
        out += kBase64Alphabet[(group >> 12) & 63];
        out += rest == 2 ? kBase64Alphabet[(group >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string UrlEncode(const std::string& text)
{
    std::string out;
    out.reserve(text.size() * 3);
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (IsAsciiAlnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += char(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kUpperHex[c >> 4];
            out += kUpperHex[c & 15];
        }
    }
    return out;
}
