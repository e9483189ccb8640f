#include "text_encoding.h"

#include <cstdint>
#include <utility>

namespace {
const char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const char kUpperHex[] = "0123456789ABCDEF";

// The 6-bit value of a Base64 character, or -1.
int Base64Value(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

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

bool Base64Decode(const std::string& text, std::string& bytes)
{
    if (text.size() % 4 != 0)
        return false;
    std::string out;
    out.reserve(text.size() / 4 * 3);
    for (size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        // "=" may only close the last group, as its last one or two characters.
        const int padding = !last ? 0 : text[i + 3] != '=' ? 0 : text[i + 2] == '=' ? 2 : 1;
        uint32_t group = 0;
        for (int k = 0; k < 4; ++k) {
            int value = 0;
            if (k < 4 - padding) {
                value = Base64Value(text[i + k]);
                if (value < 0)
                    return false;
            }
            group = (group << 6) | uint32_t(value);
        }
        out += char(group >> 16);
        if (padding < 2)
            out += char((group >> 8) & 0xFF);
        if (padding < 1)
            out += char(group & 0xFF);
        // Bits the padding drops must be zero, else two texts read the same.
        if ((padding == 1 && (group & 0xFF) != 0) || (padding == 2 && (group & 0xFFFF) != 0))
            return false;
    }
    bytes = std::move(out);
    return true;
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
