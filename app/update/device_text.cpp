#include "device_text.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "md5.h"

namespace {

bool IsSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}
bool IsPrint(char c)
{
    return std::isprint(static_cast<unsigned char>(c)) != 0;
}

// Most characters that fit the work buffer together with the terminator.
constexpr size_t kMaxSourceChars = kSerialWorkSize - 1;

bool DecodeHex(const char* source, size_t sourceLength, char* out, size_t& k)
{
    int nibbles = 0;
    k = 0;
    for (size_t i = 0; i < sourceLength; ++i) {
        char c = char(std::tolower(static_cast<unsigned char>(source[i])));
        if (IsSpace(c))
            c = '0';
        out[k] = char(static_cast<unsigned char>(out[k]) << 4);
        ++nibbles;
        if (c >= '0' && c <= '9')
            out[k] = char(out[k] + (c - 0x30));
        else if (c >= 'a' && c <= 'f')
            out[k] = char(out[k] + (c - 0x57));
        else
            return false;
        if (nibbles == 2) {
            if (out[k] != 0 && !IsPrint(out[k]))
                return false;
            ++k;
            nibbles = 0;
            out[k] = 0;
        }
    }
    return true;
}

bool CopyPlain(const char* source, size_t sourceLength, char* out, size_t& k)
{
    for (k = 0; k < sourceLength; ++k) {
        if (!IsPrint(source[k])) {
            k = 0;
            return false;
        }
        out[k] = source[k];
    }
    return true;
}

} // namespace

char* DecodeDeviceString(const char* descriptor, size_t descriptorSize, long offset, char* out)
{
    out[0] = 0;
    if (offset <= 0 || size_t(offset) >= descriptorSize)
        return out;
    const char* source = descriptor + offset;
    size_t available = descriptorSize - size_t(offset);
    const void* end = memchr(source, 0, available);
    size_t sourceLength = end ? size_t(static_cast<const char*>(end) - source) : available;
    if (sourceLength > kMaxSourceChars)
        sourceLength = kMaxSourceChars;

    size_t k = 0;
    if (!DecodeHex(source, sourceLength, out, k))
        CopyPlain(source, sourceLength, out, k);

    out[k] = 0;
    for (size_t j = 0; j < k; j += 2) {
        char t = out[j];
        out[j] = out[j + 1];
        out[j + 1] = t;
    }

    size_t length = strlen(out);
    size_t first = 0;
    while (first < length && IsSpace(out[first]))
        ++first;
    if (first < length) {
        size_t last = length - 1;
        while (IsSpace(out[last]))
            --last;
        size_t kept = last - first + 1;
        memmove(out, out + first, kept);
        out[kept] = 0;
    }
    return out;
}

int TakeDiskSerial(const char* cleaned, char* out)
{
    if (!std::isalnum(static_cast<unsigned char>(cleaned[0])))
        return 0;
    size_t count = strnlen(cleaned, kMaxDiskSerial);
    memcpy(out, cleaned, count);
    out[count] = 0;
    return int(count);
}

std::string FormatCpuText(uint32_t edx, uint32_t eax)
{
    char text[100] = {};
    snprintf(text, sizeof text, "%08X%08X", unsigned(edx), unsigned(eax));
    return text;
}

std::string FormatVolumeSerial(uint32_t serial)
{
    char text[32] = {};
    snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(serial));
    return text;
}

std::string ChooseAdapterText(const std::vector<AdapterRecord>& adapters)
{
    for (const AdapterRecord& adapter : adapters) {
        if (!adapter.firstIpAddress.empty() && adapter.firstIpAddress[0] == '0')
            continue;
        if (adapter.firstIpAddress == "255.255.255.255")
            continue;
        if (adapter.description.find("VMware Virtual") != std::string::npos)
            continue;
        char text[1024] = {};
        const uint8_t* a = adapter.address;
        snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
        return text;
    }
    return "000000000000";
}

std::string ComposeMachineId(const std::string& cpu, const std::string& disk, const std::string& adapter,
                             const std::string& volume)
{
    return Md5Hex(cpu + disk + adapter + volume);
}
