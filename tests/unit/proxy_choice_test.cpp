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
    const ProxySettings bypassing{false, L"", L"office.proxy:8080",
                                  L"*.example.COM; <local>;10.*;https://secure.test;mirror.test:8443"};
    const ProxySettings httpOnly{false, L"", L"http=http://plain.proxy:80/", L""};
    const ProxySettings script{false, L"http://wpad/proxy.pac", L"office.proxy:8080", L""};
    const ProxySettings detect{true, L"", L"", L""};
    const ProxyTarget web{L"http", L"updates.example.com", 80};
    const struct {
        const char* what;
        ProxySettings settings;
        ProxyTarget target;
        DetectedProxy detected;
        const wchar_t* proxy;
        int detections;
    } cases[] = {
        {"nothing set", ProxySettings(), web, kViaScript, L"", 0},
        {"manual", manual, {L"https", L"updates.example.com", 443}, kViaScript, L"office.proxy:8080", 0},
        {"manual for http", perScheme, web, kViaScript, L"plain.proxy:80", 0},
        {"manual for https", perScheme, {L"HTTPS", L"updates.example.com", 443}, kViaScript, L"tls.proxy:443", 0},
        {"only for http, an https package", httpOnly, {L"https", L"a.test", 443}, kViaScript, L"", 0},
        {"only for http, its address trimmed", httpOnly, {L"http", L"a.test", 80}, kViaScript, L"plain.proxy:80", 0},
        {"bypassed by a wildcard, any case", bypassing, {L"http", L"Updates.Example.com", 80}, kViaScript, L"", 0},
        {"bypassed as <local>", bypassing, {L"http", L"localhost", 80}, kViaScript, L"", 0},
        {"bypassed by an address pattern", bypassing, {L"http", L"10.1.2.3", 80}, kViaScript, L"", 0},
        {"not bypassed", bypassing, {L"http", L"example.com.evil", 80}, kViaScript, L"office.proxy:8080", 0},
        {"bypassed for its scheme", bypassing, {L"https", L"secure.test", 443}, kViaScript, L"", 0},
        {"not for another scheme", bypassing, {L"http", L"secure.test", 80}, kViaScript, L"office.proxy:8080", 0},
        {"bypassed on its port", bypassing, {L"http", L"mirror.test", 8443}, kViaScript, L"", 0},
        {"not on another port", bypassing, {L"http", L"mirror.test", 80}, kViaScript, L"office.proxy:8080", 0},
        {"a script's first proxy", script, web, kViaScript, L"script.proxy:3128", 1},
        {"a script that says direct", script, web, kScriptSaysDirect, L"", 1},
        {"a failed script falls back to manual", script, web, kFailed, L"office.proxy:8080", 1},
        {"failed detection without manual: direct", detect, web, kFailed, L"", 1},
    };
    for (const auto& c : cases) {
        int detections = 0;
        EXPECT_EQ(ChooseProxy(c.settings, c.target,
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
