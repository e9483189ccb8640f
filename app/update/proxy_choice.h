#pragma once

#include <functional>
#include <string>

// The user's Internet settings, as WinHttpGetIEProxyConfigForCurrentUser
// reports them.
struct ProxySettings {
    bool autoDetect = false;
    std::wstring autoConfigUrl;
    // "host:port", or per scheme: "http=host:port;https=host:port".
    std::wstring proxy;
    // Hosts reached directly: "*.example.com;<local>".
    std::wstring bypass;
};

// What automatic detection or a configuration script made of one address.
struct DetectedProxy {
    // False when detection or the script failed or ran out of time.
    bool found = false;
    // As ProxySettings; an empty list means a direct connection.
    std::wstring proxy;
    std::wstring bypass;
};

// Where a request goes: the scheme ("http" or "https"), host and port.
struct ProxyTarget {
    std::wstring scheme;
    std::wstring host;
    unsigned port = 0;
};

// The proxy ("host:port") that `target` is fetched through, or empty for a
// direct connection: what `detect` finds when the settings ask for detection
// or a script, otherwise (and when that fails, as WinINet falls back) the
// manual proxy unless the bypass list names the target.
std::wstring ChooseProxy(const ProxySettings& settings, const ProxyTarget& target,
                         const std::function<DetectedProxy()>& detect);

// The entry of a proxy list for `scheme`, as "host:port": one given for that
// scheme, else the first given for all; empty when there is none.
std::wstring ProxyForScheme(const std::wstring& list, const std::wstring& scheme);

// Whether the bypass list names `target`: "<local>" for a host name without
// a dot, or a host pattern with "*" wildcards, compared without case, that
// may name a scheme before it ("https://") and a port after it (":443").
bool BypassesProxy(const ProxyTarget& target, const std::wstring& bypass);

// Proxy authentication schemes, with WinHTTP's values.
enum ProxyAuthScheme : unsigned {
    kProxyAuthBasic = 0x1,
    kProxyAuthNtlm = 0x2,
    kProxyAuthPassport = 0x4,
    kProxyAuthDigest = 0x8,
    kProxyAuthNegotiate = 0x10,
};

// The scheme to answer a proxy's challenge with, of those it offers, using
// the logged-on user's credentials: Negotiate, else NTLM; 0 for none. No
// password is ever sent, in the clear (Basic) or otherwise (Digest).
unsigned ChooseProxyAuthScheme(unsigned offered);
