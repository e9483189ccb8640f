#include "package_proxy.h"

#include <windows.h>

#include <winhttp.h>

#include <chrono>
#include <map>
#include <mutex>
#include <optional>

#include "call_with_deadline.h"
#include "http_timeouts.h"
#include "proxy_choice.h"

namespace {

// Takes over a string WinHTTP allocated.
std::wstring Taken(LPWSTR text)
{
    std::wstring copy = text ? text : L"";
    if (text)
        GlobalFree(text);
    return copy;
}

ProxySettings UserSettings()
{
    ProxySettings settings;
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config = {};
    if (!WinHttpGetIEProxyConfigForCurrentUser(&config))
        return settings;
    settings.autoDetect = config.fAutoDetect != FALSE;
    settings.autoConfigUrl = Taken(config.lpszAutoConfigUrl);
    settings.proxy = Taken(config.lpszProxy);
    settings.bypass = Taken(config.lpszProxyBypass);
    return settings;
}

// What automatic detection or the script says for `url`.
DetectedProxy Detect(const std::wstring& url, const ProxySettings& settings)
{
    DetectedProxy result;
    HINTERNET session =
        WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session)
        return result;
    const int limit = int(kProxyDetectionMs);
    WinHttpSetTimeouts(session, limit, limit, limit, limit);
    WINHTTP_AUTOPROXY_OPTIONS options = {};
    if (settings.autoDetect) {
        options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
        options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
    }
    if (!settings.autoConfigUrl.empty()) {
        options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
        options.lpszAutoConfigUrl = settings.autoConfigUrl.c_str();
    }
    // The user's log-on only for a script the settings name, and only when
    // its server asks: a detected one may be anybody's.
    WINHTTP_PROXY_INFO info = {};
    BOOL found = WinHttpGetProxyForUrl(session, url.c_str(), &options, &info);
    if (!found && GetLastError() == ERROR_WINHTTP_LOGIN_FAILURE && !settings.autoConfigUrl.empty()) {
        options.dwFlags &= ~DWORD(WINHTTP_AUTOPROXY_AUTO_DETECT);
        options.fAutoLogonIfChallenged = TRUE;
        found = WinHttpGetProxyForUrl(session, url.c_str(), &options, &info);
    }
    if (found) {
        result.found = true;
        const std::wstring proxy = Taken(info.lpszProxy), bypass = Taken(info.lpszProxyBypass);
        if (info.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY) {
            result.proxy = proxy;
            result.bypass = bypass;
        }
    }
    WinHttpCloseHandle(session);
    return result;
}

} // namespace

std::wstring PackageProxyFor(const std::wstring& url, const std::function<bool()>& cancelled)
{
    wchar_t scheme[16] = {}, host[256] = {};
    URL_COMPONENTS parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszScheme = scheme;
    parts.dwSchemeLength = ARRAYSIZE(scheme);
    parts.lpszHostName = host;
    parts.dwHostNameLength = ARRAYSIZE(host);
    if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts))
        return std::wstring();
    const std::wstring key = std::wstring(scheme) + L"://" + host + L":" + std::to_wstring(parts.nPort);

    // Never destroyed: a download may still run while the process ends.
    struct Known {
        std::mutex mutex;
        std::map<std::wstring, std::wstring> proxies;
    };
    static Known* known = new Known();
    {
        std::lock_guard<std::mutex> lock(known->mutex);
        const auto found = known->proxies.find(key);
        if (found != known->proxies.end())
            return found->second;
    }
    const ProxySettings settings = UserSettings();
    bool gaveUp = false;
    // A script server or a detection that does not answer must not hold the
    // download: past the limit, or on a cancel, it is left to itself.
    const std::wstring proxy = ChooseProxy(settings, {scheme, host, parts.nPort}, [&] {
        const std::optional<DetectedProxy> detected = CallWithDeadline<DetectedProxy>(
            [url, settings] { return Detect(url, settings); }, std::chrono::milliseconds(kProxyDetectionMs), cancelled);
        gaveUp = !detected && cancelled();
        return detected.value_or(DetectedProxy());
    });
    // A cancelled detection decided nothing: the next download asks again.
    if (!gaveUp) {
        std::lock_guard<std::mutex> lock(known->mutex);
        known->proxies.emplace(key, proxy);
    }
    return proxy;
}
