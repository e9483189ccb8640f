// Arbitrary request values (the application identifier and channel come from
// Config.cfg and the registry) through the signed query: the data parameter
// holds only characters that need no further escaping and decodes back to
// the query text, whose signature is the MD5 of the signing text.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_split.h"
#include "reference_md5.h"
#include "signed_query.h"
#include "text_encoding.h"

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1; // UrlEncode writes upper-case digits only
}

std::string UrlDecode(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out.push_back(' ');
        } else if (c == '%') {
            if (i + 2 >= text.size() || HexValue(text[i + 1]) < 0 || HexValue(text[i + 2]) < 0)
                __builtin_trap();
            out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
            i += 2;
        } else if (isalnum(static_cast<unsigned char>(c)) || strchr("-_.~", c)) {
            out.push_back(c);
        } else {
            __builtin_trap();
        }
    }
    return out;
}

std::string Base64Decode(const std::string& text)
{
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    if (text.size() % 4 != 0)
        __builtin_trap();
    std::string out;
    for (size_t i = 0; i < text.size(); i += 4) {
        uint32_t group = 0;
        int padding = 0;
        for (size_t j = 0; j < 4; ++j) {
            const char c = text[i + j];
            // Padding only at the end, at most two.
            if (c == '=' && i + 4 == text.size() && j >= 2 && (j == 3 || text[i + 3] == '=')) {
                ++padding;
                group <<= 6;
                continue;
            }
            const char* at = c != '\0' ? strchr(kAlphabet, c) : nullptr;
            if (!at || padding > 0)
                __builtin_trap();
            group = (group << 6) | static_cast<uint32_t>(at - kAlphabet);
        }
        out.push_back(static_cast<char>(group >> 16));
        if (padding < 2)
            out.push_back(static_cast<char>(group >> 8));
        if (padding < 1)
            out.push_back(static_cast<char>(group));
    }
    return out;
}

} // namespace

// Input: reqType (4 bytes), ts (8 bytes), then appId, uid, channel,
// osVersion and version separated by zero bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 12 || size > 4096)
        return 0;
    UpdateRequest request;
    memcpy(&request.reqType, data, sizeof request.reqType);
    memcpy(&request.ts, data + 4, sizeof request.ts);
    const std::vector<std::string> texts = SplitFuzzInput(data + 12, size - 12, 5);
    request.appId = texts[0];
    request.uid = texts[1];
    request.channel = texts[2];
    request.osVersion = texts[3];
    request.version = texts[4];

    const QueryParameters parameters = MakeQueryParameters(request);
    if (parameters.size() != 7 || parameters.at("channel") != request.channel ||
        parameters.at("ts") != std::to_string(static_cast<long long>(request.ts)))
        __builtin_trap();
    const std::string signing = BuildSigningText(parameters);
    if (signing.compare(0, request.appId.empty() ? 4 : request.appId.size(),
                        request.appId.empty() ? "NULL" : request.appId) != 0 ||
        signing.size() < strlen(kSigningKey) ||
        signing.compare(signing.size() - strlen(kSigningKey), std::string::npos, kSigningKey) != 0)
        __builtin_trap();
    const std::string query = BuildQueryText(parameters);
    const std::string sign = "&sign=" + ReferenceMd5Hex(signing);
    if (query.compare(0, 6, "appId=") != 0 || query.size() < sign.size() ||
        query.compare(query.size() - sign.size(), std::string::npos, sign) != 0)
        __builtin_trap();
    if (Base64Decode(UrlDecode(BuildSignedData(parameters))) != query)
        __builtin_trap();
    // The encoders on their own, over every byte value.
    const std::string raw(reinterpret_cast<const char*>(data), size);
    if (Base64Decode(Base64Encode(raw.data(), raw.size())) != raw || UrlDecode(UrlEncode(raw)) != raw)
        __builtin_trap();
    return 0;
}
