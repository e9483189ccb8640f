#include "package_name.h"

#include "updater_identity.h"

namespace {
const wchar_t kProduct[] = L"Ferncastle";
const wchar_t kUpdaterVersion[] = L"" FERNCASTLE_UPDATER_VERSION;
constexpr size_t kFolderDigits = 16;

bool UnfitForFileName(wchar_t c)
{
    return c < 0x20 || c == 0x7F || std::wstring(L"\\/:*?\"<>|").find(c) != std::wstring::npos;
}
} // namespace

std::wstring PackageFileName(const std::wstring& channel)
{
    std::wstring safe = channel;
    for (wchar_t& c : safe)
        if (UnfitForFileName(c))
            c = L'_';
    for (size_t at = safe.find(L".."); at != std::wstring::npos; at = safe.find(L"..", at + 2))
        safe.replace(at, 2, L"__");
    return std::wstring(kProduct) + L"_" + kUpdaterVersion + L"_" + safe + L".exe";
}

std::wstring PackageFolderName(uint64_t random)
{
    std::wstring name = kPackageFolderPrefix;
    for (int shift = 60; shift >= 0; shift -= 4)
        name += L"0123456789abcdef"[(random >> shift) & 0xF];
    return name;
}

bool IsPackageFolderName(const std::wstring& name)
{
    const std::wstring prefix = kPackageFolderPrefix;
    if (name.size() != prefix.size() + kFolderDigits || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (size_t i = prefix.size(); i < name.size(); ++i)
        if (!((name[i] >= L'0' && name[i] <= L'9') || (name[i] >= L'a' && name[i] <= L'f')))
            return false;
    return true;
}
