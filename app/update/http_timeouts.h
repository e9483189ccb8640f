#pragma once

// Time-outs of both HTTP clients, in milliseconds: a server that stalls must
// not freeze the updater. The test configuration waits less, so that tests
// of stalling servers stay short.
#ifdef FERNCASTLE_TEST_CONFIG
constexpr int kHttpConnectTimeoutMs = 2000;
constexpr int kHttpSendTimeoutMs = 2000;
constexpr int kHttpReceiveTimeoutMs = 2000;
#else
constexpr int kHttpConnectTimeoutMs = 10000;
constexpr int kHttpSendTimeoutMs = 10000;
constexpr int kHttpReceiveTimeoutMs = 15000;
#endif

// The update check's whole exchange, from resolving the server's name to
// the answer's last byte: the time-outs above hold per step, and a server
// that sends a byte now and then must not keep the window, unpainted, in its
// check for longer than this.
#ifdef FERNCASTLE_TEST_CONFIG
constexpr int kUpdateCheckDeadlineMs = 4000;
#else
constexpr int kUpdateCheckDeadlineMs = 10000;
#endif

// A package download that receives fewer than kMinBytesPerRateWindow in any
// kDownloadRateWindowMs of its transfer (pauses between retries left out)
// fails: a server sending a little just inside each receive time-out would
// otherwise keep the window in its download for ever.
constexpr unsigned kDownloadRateWindowMs = 60000;
constexpr unsigned kMinBytesPerRateWindow = 64 * 1024;

// How long finding the package's proxy by automatic detection or a
// configuration script may take; past it the manual proxy, if any, holds.
#ifdef FERNCASTLE_TEST_CONFIG
constexpr unsigned kProxyDetectionMs = 2000;
#else
constexpr unsigned kProxyDetectionMs = 5000;
#endif
