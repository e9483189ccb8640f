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

std::wstring WithoutScheme(const std::wstring& address)
{
    const size_t at = address.find(L"://");
    return at == std::wstring::npos ? address : address.substr(at + 3);
}

} // namespace

std::wstring ChooseProxy(const ProxySettings& settings, const std::wstring& scheme, const std::wstring& host,
                         const std::function<DetectedProxy()>& detect)
{
    if (settings.autoDetect || !settings.autoConfigUrl.empty()) {
        const DetectedProxy detected = detect();
        if (detected.found)
            return BypassesProxy(host, detected.bypass) ? std::wstring() : ProxyForScheme(detected.proxy, scheme);
    }
    if (BypassesProxy(host, settings.bypass))
        return std::wstring();
    return ProxyForScheme(settings.proxy, scheme);
}

std::wstring ProxyForScheme(const std::wstring& list, const std::wstring& scheme)
{
    std::wstring forAll;
    for (const std::wstring& entry : Entries(list, L"; \t")) {
        const size_t equals = entry.find(L'=');
        if (equals == std::wstring::npos) {
            if (forAll.empty())
                forAll = WithoutScheme(entry);
        } else if (Lower(entry.substr(0, equals)) == Lower(scheme)) {
            return WithoutScheme(entry.substr(equals + 1));
        }
    }
    return forAll;
}

bool BypassesProxy(const std::wstring& host, const std::wstring& bypass)
{
    const std::wstring name = Lower(host);
    for (const std::wstring& entry : Entries(Lower(bypass), L"; \t,")) {
        if (entry == L"<local>" ? name.find(L'.') == std::wstring::npos : Matches(WithoutScheme(entry), name))
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
