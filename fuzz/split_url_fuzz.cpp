// Arbitrary download and query addresses (the download address comes from
// the server's answer): the split parts must come from the address itself,
// the host never holds the port or the path, and the TLS choice follows the
// scheme and the port.
#include <cstdint>
#include <string>

#include "split_url.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string url(reinterpret_cast<const char*>(data), size);
    // Two different previous paths tell whether the split set one.
    std::string host, path = "a", otherHost, otherPath = "b";
    int port = -1, otherPort = -1;
    SplitUrl(url, host, path, port);
    SplitUrl(url, otherHost, otherPath, otherPort);
    if (host != otherHost || port != otherPort)
        __builtin_trap();
    if (host.find_first_of(":/") != std::string::npos || url.find(host) == std::string::npos)
        __builtin_trap();
    const bool pathFound = path == otherPath;
    if (pathFound && (path.empty() || path[0] != '/' || url.compare(url.size() - path.size(), path.size(), path) != 0))
        __builtin_trap();
    const bool plain = url.find("http://") != std::string::npos;
    const bool secure = !plain && url.find("https://") != std::string::npos;
    const bool explicitPort = host.size() < url.size() && url.find(host + ":") != std::string::npos;
    if (!explicitPort && port != (secure ? 443 : 80))
        __builtin_trap();
    // Only the scheme or the number 443 itself asks for TLS: a port number
    // too large for an int must not wrap round to it.
    if (port == 443 && !secure && url.find("443") == std::string::npos)
        __builtin_trap();
    if (UrlWantsTls(url) != (port == 443 || secure))
        __builtin_trap();
    return 0;
}
