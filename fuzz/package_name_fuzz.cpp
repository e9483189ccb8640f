// Arbitrary channels (from Config.cfg or the registry) through the package
// file name rule: the name keeps its fixed frame, the channel part keeps its
// length and never holds a character unfit for a file name or "..", so the
// package stays in the folder it is put in.
#include <cstdint>
#include <cstring>
#include <string>

#include "code_page.h"
#include "package_name.h"
#include "updater_identity.h"

namespace {

void CheckName(const std::wstring& channel)
{
    static const std::wstring kPrefix = L"Ferncastle_" FERNCASTLE_UPDATER_VERSION L"_";
    static const std::wstring kSuffix = L".exe";
    const std::wstring name = PackageFileName(channel);
    if (name.size() != kPrefix.size() + channel.size() + kSuffix.size() || name.compare(0, kPrefix.size(), kPrefix) ||
        name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix))
        __builtin_trap();
    const std::wstring part = name.substr(kPrefix.size(), channel.size());
    if (part.find(L"..") != std::wstring::npos)
        __builtin_trap();
    for (size_t i = 0; i < part.size(); ++i) {
        const wchar_t c = part[i];
        if (c < 0x20 || c == 0x7F || wcschr(L"\\/:*?\"<>|", c))
            __builtin_trap();
        if (c != channel[i] && c != L'_')
            __builtin_trap();
    }
}

} // namespace

// Input: the first byte chooses between the narrow channel as the workflow
// converts it, and raw wide characters (4 bytes each, any value).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 4096)
        return 0;
    if (data[0] & 1) {
        std::wstring channel((size - 1) / 4, L'\0');
        for (size_t i = 0; i < channel.size(); ++i) {
            uint32_t unit;
            memcpy(&unit, data + 1 + 4 * i, sizeof unit);
            channel[i] = static_cast<wchar_t>(unit);
        }
        CheckName(channel);
    } else {
        CheckName(AnsiToWide(std::string(reinterpret_cast<const char*>(data + 1), size - 1)));
    }
    return 0;
}
