#include "proxy_choice.h"

#include <cwctype>
#include <vector>

namespace {

std::vector<std::wstring> Entries(const std::wstring& list, const wchar_t* separators)
{
    std::vector<std::wstring> entries;
    size_t start = 0;
    while (start < list.size()) {
        const size_t end = list.find_first_of(separators, start);
        const std::wstring entry = list.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (!entry.empty())
            entries.push_back(entry);
        if (end == std::wstring::npos)
            break;
        start = end + 1;
    }
    return entries;
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = wchar_t(std::towlower(c));
    return text;
}

// "*" stands for any run of characters.
bool Matches(const std::wstring& pattern, const std::wstring& text)
{
    size_t p = 0, t = 0, star = std::wstring::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            star = p++;
            resume = t;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (star != std::wstring::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*')
        ++p;
    return p == pattern.size();
}

// "http://proxy:8080/" as "proxy:8080".
std::wstring ProxyAddress(std::wstring address)
{
    const size_t at = address.find(L"://");
    if (at != std::wstring::npos)
        address.erase(0, at + 3);
    while (!address.empty() && address.back() == L'/')
        address.pop_back();
    return address;
}

bool EntryNames(std::wstring entry, const ProxyTarget& target)
{
    const size_t at = entry.find(L"://");
    if (at != std::wstring::npos) {
        if (entry.substr(0, at) != Lower(target.scheme))
            return false;
        entry.erase(0, at + 3);
    }
    const size_t colon = entry.rfind(L':');
    if (colon != std::wstring::npos && colon + 1 < entry.size() &&
        entry.find_first_not_of(L"0123456789", colon + 1) == std::wstring::npos) {
        if (entry.substr(colon + 1) != std::to_wstring(target.port))
            return false;
        entry.erase(colon);
    }
    return Matches(entry, Lower(target.host));
}

} // namespace

std::wstring ChooseProxy(const ProxySettings& settings, const ProxyTarget& target,
                         const std::function<DetectedProxy()>& detect)
{
    if (settings.autoDetect || !settings.autoConfigUrl.empty()) {
        const DetectedProxy detected = detect();
        if (detected.found)
            return BypassesProxy(target, detected.bypass) ? std::wstring()
                                                          : ProxyForScheme(detected.proxy, target.scheme);
    }
    if (BypassesProxy(target, settings.bypass))
        return std::wstring();
    return ProxyForScheme(settings.proxy, target.scheme);
}

std::wstring ProxyForScheme(const std::wstring& list, const std::wstring& scheme)
{
    std::wstring forAll;
    for (const std::wstring& entry : Entries(list, L"; \t")) {
        const size_t equals = entry.find(L'=');
        if (equals == std::wstring::npos) {
            if (forAll.empty())
                forAll = ProxyAddress(entry);
        } else if (Lower(entry.substr(0, equals)) == Lower(scheme)) {
            return ProxyAddress(entry.substr(equals + 1));
        }
    }
    return forAll;
}

bool BypassesProxy(const ProxyTarget& target, const std::wstring& bypass)
{
    for (const std::wstring& entry : Entries(Lower(bypass), L"; \t,")) {
        if (entry == L"<local>" ? target.host.find(L'.') == std::wstring::npos : EntryNames(entry, target))
            return true;
    }
    return false;
}

unsigned ChooseProxyAuthScheme(unsigned offered)
{
    if (offered & kProxyAuthNegotiate)
        return kProxyAuthNegotiate;
    if (offered & kProxyAuthNtlm)
        return kProxyAuthNtlm;
    return 0;
}
