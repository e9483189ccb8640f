#include "package_name.h"

namespace {
const wchar_t kProduct[] = L"Ferncastle";
const wchar_t kUpdaterVersion[] = L"1.0.0.2";

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
