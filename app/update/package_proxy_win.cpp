#include "package_proxy.h"

#include <windows.h>

#include <winhttp.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

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

// A detection's outcome, shared with its thread, which may outlive the wait.
struct Detection {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    DetectedProxy result;
};

void Detect(const std::wstring& url, const ProxySettings& settings, const std::shared_ptr<Detection>& detection)
{
    DetectedProxy result;
    if (HINTERNET session =
            WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0)) {
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
        // A script behind an office proxy may ask who we are.
        options.fAutoLogonIfChallenged = TRUE;
        WINHTTP_PROXY_INFO info = {};
        if (WinHttpGetProxyForUrl(session, url.c_str(), &options, &info)) {
            result.found = true;
            const std::wstring proxy = Taken(info.lpszProxy), bypass = Taken(info.lpszProxyBypass);
            if (info.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY) {
                result.proxy = proxy;
                result.bypass = bypass;
            }
        }
        WinHttpCloseHandle(session);
    }
    std::lock_guard<std::mutex> lock(detection->mutex);
    detection->result = result;
    detection->finished = true;
    detection->done.notify_all();
}

// Runs the detection on a thread of its own, which is left to itself when
// it takes longer than kProxyDetectionMs or the download is cancelled: a
// script server or a detection that does not answer must not hold it.
DetectedProxy DetectWithin(const std::wstring& url, const ProxySettings& settings,
                           const std::function<bool()>& cancelled)
{
    auto detection = std::make_shared<Detection>();
    try {
        std::thread(Detect, url, settings, detection).detach();
    } catch (...) {
        return DetectedProxy();
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kProxyDetectionMs);
    std::unique_lock<std::mutex> lock(detection->mutex);
    while (!detection->finished && !cancelled() && std::chrono::steady_clock::now() < deadline)
        detection->done.wait_for(lock, std::chrono::milliseconds(50));
    return detection->finished ? detection->result : DetectedProxy();
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
    const std::wstring proxy = ChooseProxy(settings, scheme, host, [&] {
        const DetectedProxy detected = DetectWithin(url, settings, cancelled);
        gaveUp = !detected.found && cancelled();
        return detected;
    });
    // A cancelled detection decided nothing: the next download asks again.
    if (!gaveUp) {
        std::lock_guard<std::mutex> lock(known->mutex);
        known->proxies.emplace(key, proxy);
    }
    return proxy;
}
