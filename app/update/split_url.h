#pragma once

#include <string>

// Splits an address into host, path (query string included) and port. The
// port is 80, or 443 after "https://", or the number after a ":" in the host
// part. `path` is left unchanged when the address holds no "/" after the host.
void SplitUrl(const std::string& url, std::string& host, std::string& path, int& port);

// True when the address asks for TLS: "https://" as its scheme, or port 443.
bool UrlWantsTls(const std::string& url);
