#include "wininet_http.h"

#include <windows.h>

#include <wininet.h>

#include <cstring>

#include "http_timeouts.h"
#include "split_url.h"

namespace {
void CloseInternetHandle(void*& handle)
{
    if (handle) {
        InternetCloseHandle(static_cast<HINTERNET>(handle));
        handle = nullptr;
    }
}

void SetTimeouts(HINTERNET handle)
{
    DWORD connect = kHttpConnectTimeoutMs, send = kHttpSendTimeoutMs, receive = kHttpReceiveTimeoutMs;
    InternetSetOptionA(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
    InternetSetOptionA(handle, INTERNET_OPTION_SEND_TIMEOUT, &send, sizeof send);
    InternetSetOptionA(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);
}
} // namespace

CWininetHttp::~CWininetHttp()
{
    CloseHandles();
}

void CWininetHttp::Release()
{
    delete this;
}

void CWininetHttp::CloseHandles()
{
    CloseInternetHandle(hRequest);
    CloseInternetHandle(hConnect);
    CloseInternetHandle(hInternet);
}

void CWininetHttp::AbandonHandles()
{
    // Closing a request whose body was not read to its end makes WinINet
    // read the rest (Wine does, to reuse the connection): a server could hold
    // the caller for as long as it sends. The handles are left to the end of
    // the process instead; a check runs once per process.
    hRequest = nullptr;
    hConnect = nullptr;
    hInternet = nullptr;
}

int CWininetHttp::Request(std::string url, int post, std::string& response, const char* body, const char* headers)
{
    if (url.empty())
        return kHttpEmptyAddress;
    // The handles of an earlier request on this object are done with.
    CloseHandles();
    hInternet = InternetOpenA("Http-connect", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!hInternet)
        return kHttpOpenFailed;
    SetTimeouts(static_cast<HINTERNET>(hInternet));

    std::string host, path;
    int port = 80;
    SplitUrl(url, host, path, port);
    isHttps = UrlWantsTls(url);
    if (port <= 0 || port > 65535)
        port = isHttps ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;

    hConnect = InternetConnectA(static_cast<HINTERNET>(hInternet), host.c_str(), INTERNET_PORT(port), nullptr, nullptr,
                                INTERNET_SERVICE_HTTP, 0, 0);
    if (!hConnect)
        return kHttpConnectFailed;

    // Redirects are not followed: some WinINet versions follow a loop for
    // ever, and the update server answers at its own address.
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (isHttps)
        flags |= INTERNET_FLAG_SECURE | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID;
    hRequest = HttpOpenRequestA(static_cast<HINTERNET>(hConnect), post ? "POST" : "GET", path.c_str(), "HTTP/1.1",
                                nullptr, nullptr, flags, 0);
    if (!hRequest)
        return kHttpOpenFailed;
    // Not every WinINet passes the session's time-outs on to its requests.
    SetTimeouts(static_cast<HINTERNET>(hRequest));

    DWORD headersLength = headers ? DWORD(strlen(headers)) : 0;
    DWORD bodyLength = body ? DWORD(strlen(body)) : 0;
    if (!HttpSendRequestA(static_cast<HINTERNET>(hRequest), headers, headersLength, const_cast<char*>(body),
                          bodyLength))
        return kHttpSendFailed;

    char buffer[4097];
    memset(buffer, 0, sizeof buffer);
    DWORD size = 4096;
    // A connection closed before any status line is no answer.
    // Past here a body may be on its way: an answer not read to its end
    // leaves its handles open (see AbandonHandles).
    if (!HttpQueryInfoA(static_cast<HINTERNET>(hRequest), HTTP_QUERY_RAW_HEADERS, buffer, &size, nullptr) ||
        buffer[0] == 0) {
        AbandonHandles();
        return kHttpHeadersFailed;
    }
    // The raw headers are separated by zero bytes: this sees the status line.
    if (strstr(buffer, "404")) {
        AbandonHandles();
        return kHttpNotFound;
    }

    std::string accumulated;
    for (;;) {
        // A read waits to fill its buffer; asked only for what has arrived it
        // returns at once.
        DWORD available = 0, read = 0;
        if (!InternetQueryDataAvailable(static_cast<HINTERNET>(hRequest), &available, 0, 0) || available == 0 ||
            !InternetReadFile(static_cast<HINTERNET>(hRequest), buffer, available < 4096 ? available : 4096, &read) ||
            read == 0)
            break;
        buffer[read] = 0;
        accumulated.append(buffer, read);
        if (accumulated.size() > kMaxAnswerBytes) {
            AbandonHandles();
            return kHttpAnswerTooLarge;
        }
    }
    response = accumulated;
    return kHttpOk;
}
