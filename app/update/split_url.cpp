#include "split_url.h"

#include <climits>
#include <cstdlib>

namespace {
const char kHttp[] = "http://";
const char kHttps[] = "https://";

// As atoi reads it on Windows: a port number too large or too small
// saturates. atoi itself leaves that undefined; glibc's wraps it, so that
// "host:4294967739" would come out as 443.
int ReadPort(const char* text)
{
    const long long value = strtoll(text, nullptr, 10);
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}
} // namespace

void SplitUrl(const std::string& url, std::string& host, std::string& path, int& port)
{
    port = 80;
    std::string rest = url;
    size_t at = rest.find(kHttp);
    if (at != std::string::npos) {
        rest.erase(0, at + sizeof kHttp - 1);
    } else if ((at = rest.find(kHttps)) != std::string::npos) {
        port = 443;
        rest.erase(0, at + sizeof kHttps - 1);
    }
    size_t slash = rest.find('/');
    if (slash != std::string::npos) {
        host = rest.substr(0, slash);
        path = rest.substr(slash);
    } else {
        host = rest;
    }
    size_t colon = host.find(':');
    if (colon != std::string::npos) {
        port = ReadPort(host.c_str() + colon + 1);
        host.erase(colon);
    }
}

bool UrlWantsTls(const std::string& url)
{
    std::string host, path;
    int port = 0;
    SplitUrl(url, host, path, port);
    return port == 443 || (url.find(kHttp) == std::string::npos && url.find(kHttps) != std::string::npos);
}
