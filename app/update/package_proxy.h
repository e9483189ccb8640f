#pragma once

#include <functional>
#include <string>

// The proxy ("host:port") that the package at `url` is fetched through, or
// empty for a direct connection, found as Windows programs find it (the
// user's Internet settings: a manual proxy with its bypass list, a
// configuration script, automatic detection; see ChooseProxy). Detection and
// scripts get kProxyDetectionMs, and `cancelled` is asked while they run.
// The answer is kept for the process, per scheme, host and port: retries,
// resumes and the probe's report use the same one.
std::wstring PackageProxyFor(const std::wstring& url, const std::function<bool()>& cancelled);
