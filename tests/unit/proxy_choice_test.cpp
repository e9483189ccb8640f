#include <gtest/gtest.h>

#include <string>

#include "proxy_choice.h"

namespace {

const DetectedProxy kFailed{};
const DetectedProxy kViaScript{true, L"script.proxy:3128; backup.proxy:3128", L""};
const DetectedProxy kScriptSaysDirect{true, L"", L""};

// How the package's proxy is chosen from the user's settings, one row per
// setting that can send it elsewhere.
TEST(ChooseProxy, FromTheUsersSettings)
{
    const ProxySettings manual{false, L"", L"office.proxy:8080", L""};
    const ProxySettings perScheme{false, L"", L"http=plain.proxy:80;https=http://tls.proxy:443;ftp=f:21", L""};
    const ProxySettings bypassing{false, L"", L"office.proxy:8080", L"*.example.COM; <local>;10.*"};
    const ProxySettings script{false, L"http://wpad/proxy.pac", L"office.proxy:8080", L""};
    const ProxySettings detect{true, L"", L"", L""};
    const struct {
        const char* what;
        ProxySettings settings;
        const wchar_t* scheme;
        const wchar_t* host;
        DetectedProxy detected;
        const wchar_t* proxy;
        int detections;
    } cases[] = {
        {"nothing set", ProxySettings(), L"http", L"updates.example.com", kViaScript, L"", 0},
        {"manual", manual, L"https", L"updates.example.com", kViaScript, L"office.proxy:8080", 0},
        {"manual for http", perScheme, L"http", L"updates.example.com", kViaScript, L"plain.proxy:80", 0},
        {"manual for https", perScheme, L"HTTPS", L"updates.example.com", kViaScript, L"tls.proxy:443", 0},
        {"bypassed by a wildcard, any case", bypassing, L"http", L"Updates.Example.com", kViaScript, L"", 0},
        {"bypassed as <local>", bypassing, L"http", L"localhost", kViaScript, L"", 0},
        {"bypassed by an address pattern", bypassing, L"http", L"10.1.2.3", kViaScript, L"", 0},
        {"not bypassed", bypassing, L"http", L"example.com.evil", kViaScript, L"office.proxy:8080", 0},
        {"a script's first proxy", script, L"http", L"updates.example.com", kViaScript, L"script.proxy:3128", 1},
        {"a script that says direct", script, L"http", L"updates.example.com", kScriptSaysDirect, L"", 1},
        {"a failed script falls back to manual", script, L"http", L"a.example.com", kFailed, L"office.proxy:8080", 1},
        {"failed detection without manual: direct", detect, L"http", L"updates.example.com", kFailed, L"", 1},
    };
    for (const auto& c : cases) {
        int detections = 0;
        EXPECT_EQ(ChooseProxy(c.settings, c.scheme, c.host,
                              [&] {
                                  ++detections;
                                  return c.detected;
                              }),
                  c.proxy)
            << c.what;
        EXPECT_EQ(detections, c.detections) << c.what;
    }
}

// Only the logged-on user's own log-on answers a proxy: never a password.
TEST(ChooseProxyAuthScheme, NeverSendsAPassword)
{
    EXPECT_EQ(ChooseProxyAuthScheme(kProxyAuthNegotiate | kProxyAuthNtlm | kProxyAuthBasic), kProxyAuthNegotiate);
    EXPECT_EQ(ChooseProxyAuthScheme(kProxyAuthNtlm | kProxyAuthBasic), kProxyAuthNtlm);
    EXPECT_EQ(ChooseProxyAuthScheme(kProxyAuthBasic), 0u);
    EXPECT_EQ(ChooseProxyAuthScheme(kProxyAuthBasic | kProxyAuthDigest | kProxyAuthPassport), 0u);
}

} // namespace
