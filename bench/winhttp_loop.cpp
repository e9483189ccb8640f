// The baseline of the updater's download: a bare WinHTTP GET whose body is
// read in 1 KiB pieces and written to a file, nothing else. Prints the
// seconds from opening the session to closing the file, and the bytes.
#include <windows.h>

#include <winhttp.h>

#include <cstdio>

#include "base/unique_handle.h"

namespace {

struct WinHttpTraits {
    using Handle = HINTERNET;
    static bool IsValid(HINTERNET h) { return h != nullptr; }
    static void Close(HINTERNET h) { WinHttpCloseHandle(h); }
};
using WinHttpHandle = base::UniqueOwner<WinHttpTraits>;

// Bytes received into `path`, or -1 when the transfer failed.
long long Fetch(const wchar_t* url, const wchar_t* path)
{
    URL_COMPONENTS parts = {};
    wchar_t host[256] = {}, object[1024] = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = 256;
    parts.lpszUrlPath = object;
    parts.dwUrlPathLength = 1024;
    if (!WinHttpCrackUrl(url, 0, 0, &parts))
        return -1;
    WinHttpHandle session(WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr, nullptr, 0));
    WinHttpHandle connection(session ? WinHttpConnect(session.get(), host, parts.nPort, 0) : nullptr);
    WinHttpHandle request(connection ? WinHttpOpenRequest(connection.get(), L"GET", object, nullptr, WINHTTP_NO_REFERER,
                                                          WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_REFRESH)
                                     : nullptr);
    if (!request || !WinHttpSendRequest(request.get(), nullptr, 0, nullptr, 0, 0, 0) ||
        !WinHttpReceiveResponse(request.get(), nullptr))
        return -1;
    base::UniqueHandle file(
        CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return -1;
    char buffer[1024];
    long long total = 0;
    DWORD read = 0;
    while (WinHttpReadData(request.get(), buffer, sizeof buffer, &read) && read > 0) {
        DWORD written = 0;
        if (!WriteFile(file.get(), buffer, read, &written, nullptr) || written != read)
            return -1;
        total += read;
    }
    return total;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        fputs("usage: winhttp_loop URL PATH\n", stderr);
        return 2;
    }
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const long long received = Fetch(argv[1], argv[2]);
    QueryPerformanceCounter(&end);
    if (received < 0)
        return 1;
    printf("%.4f %lld\n", double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart), received);
    return 0;
}
