#include "download_file.h"

#include <windows.h>

#include <winhttp.h>

#include <cwchar>
#include <string>
#include <vector>

#include "base/unique_handle.h"
#include "http_timeouts.h"

namespace {

struct WinHttpHandleTraits {
    using Handle = HINTERNET;
    static bool IsValid(HINTERNET h) { return h != nullptr; }
    static void Close(HINTERNET h) { WinHttpCloseHandle(h); }
};
using WinHttpHandle = base::UniqueOwner<WinHttpHandleTraits>;

constexpr DWORD kUrlPartSize = 512;
constexpr DWORD kPieceSize = 1024;
using Length = unsigned long long;
constexpr Length kNoLength = ~0ull;

struct UrlParts {
    wchar_t scheme[kUrlPartSize] = {};
    wchar_t host[kUrlPartSize] = {};
    wchar_t user[kUrlPartSize] = {};
    wchar_t password[kUrlPartSize] = {};
    wchar_t path[kUrlPartSize] = {};
    wchar_t extra[kUrlPartSize] = {};
    URL_COMPONENTS components = {};
};

bool CrackUrl(const std::wstring& url, UrlParts& parts)
{
    URL_COMPONENTS& c = parts.components;
    c.dwStructSize = sizeof c;
    c.lpszScheme = parts.scheme;
    c.dwSchemeLength = kUrlPartSize;
    c.lpszHostName = parts.host;
    c.dwHostNameLength = kUrlPartSize;
    c.lpszUserName = parts.user;
    c.dwUserNameLength = kUrlPartSize;
    c.lpszPassword = parts.password;
    c.dwPasswordLength = kUrlPartSize;
    c.lpszUrlPath = parts.path;
    c.dwUrlPathLength = kUrlPartSize;
    // The query string lands here and is not requested.
    c.lpszExtraInfo = parts.extra;
    c.dwExtraInfoLength = kUrlPartSize;
    return WinHttpCrackUrl(url.c_str(), 0, ICU_ESCAPE, &c) != FALSE;
}

// Opens, sends and receives one request; null when any step failed.
HINTERNET SendRequest(HINTERNET connection, const wchar_t* verb, const wchar_t* path, DWORD flags,
                      const std::wstring& headers = std::wstring())
{
    WinHttpHandle request(WinHttpOpenRequest(connection, verb, path, L"HTTP/1.1", WINHTTP_NO_REFERER,
                                             WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
    if (!request ||
        !WinHttpSendRequest(request.get(), headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                            headers.empty() ? 0 : DWORD(-1), WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !WinHttpReceiveResponse(request.get(), nullptr))
        return nullptr;
    return request.release();
}

DWORD StatusCode(HINTERNET request)
{
    DWORD status = 0, size = sizeof status;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        return 0;
    return status;
}

// The announced Content-Length, or kNoLength when there is none. Read as
// text: the numeric query holds 32 bits, and a length of several gigabytes
// must not wrap into a plausible one.
Length ContentLength(HINTERNET request)
{
    wchar_t text[32] = {};
    DWORD size = sizeof text;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_LENGTH, WINHTTP_HEADER_NAME_BY_INDEX, text, &size,
                             WINHTTP_NO_HEADER_INDEX) ||
        text[0] == 0)
        return kNoLength;
    Length length = 0;
    for (const wchar_t* c = text; *c; ++c) {
        if (*c < L'0' || *c > L'9' || length > (kNoLength - 9) / 10)
            return kNoLength;
        length = length * 10 + Length(*c - L'0');
    }
    return length;
}

// How a body ended: whole; broken off by the connection or a time-out, so
// that what is on disk may be continued; or failed for good.
enum class Outcome { Whole, Broken, Failed };

// Collects the pieces and writes them in blocks: under Wine a write per
// 1 KiB piece is a system call each, a good part of a large download.
class BlockWriter {
public:
    explicit BlockWriter(HANDLE file) : file_(file) { block_.reserve(kBlockSize); }

    bool Add(const char* data, DWORD size)
    {
        block_.insert(block_.end(), data, data + size);
        return block_.size() < kBlockSize || Flush();
    }

    bool Flush()
    {
        if (block_.empty())
            return true;
        DWORD written = 0;
        const bool ok =
            WriteFile(file_, block_.data(), DWORD(block_.size()), &written, nullptr) && written == block_.size();
        block_.clear();
        return ok;
    }

private:
    static constexpr size_t kBlockSize = 64 * 1024;
    HANDLE file_;
    std::vector<char> block_;
};

// Copies the body into the writer, counting on from `received`. Only a read
// that succeeds with 0 bytes ends a body: a failed read (a reset, a
// time-out) is a broken transfer, with or without an announced length. A
// body without a length that grows past `limit` fails: it is not the package.
Outcome ReceivePieces(HINTERNET request, BlockWriter& writer, Length length, Length limit, Length& received,
                      IDownloadOwner* owner)
{
    const bool known = length != kNoLength && length > 0;
    std::vector<char> buffer(kPieceSize);
    while (!known || received < length) {
        if (owner->IsCancelled())
            return Outcome::Failed;
        DWORD read = 0;
        if (!WinHttpReadData(request, buffer.data(), kPieceSize, &read))
            return known ? Outcome::Broken : Outcome::Failed;
        if (read == 0)
            break;
        if (received + read > limit || !writer.Add(buffer.data(), read))
            return Outcome::Failed;
        received += read;
        owner->OnPieceWritten(buffer.data(), read);
        if (known)
            owner->SetProgress(DownloadPercent(received, length));
    }
    if (known)
        return received == length ? Outcome::Whole : Outcome::Broken;
    // Without an announced length the body ends with the connection; it
    // counts only when something arrived.
    if (received == 0)
        return Outcome::Failed;
    owner->SetProgress(100);
    return Outcome::Whole;
}

// Every byte counted in `received` is on disk when this returns, so that a
// broken body can be continued from the file's end.
Outcome Receive(HINTERNET request, HANDLE file, Length length, Length limit, Length& received, IDownloadOwner* owner)
{
    BlockWriter writer(file);
    const Outcome outcome = ReceivePieces(request, writer, length, limit, received, owner);
    return writer.Flush() ? outcome : Outcome::Failed;
}

// Waits `ms` unless the owner cancels first; false when it did.
bool PauseUnlessCancelled(IDownloadOwner* owner, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        if (owner->IsCancelled())
            return false;
        Sleep(50);
    }
    return !owner->IsCancelled();
}

// Whether a 206 answer continues exactly at `from` and runs to the end of
// a package of `length` bytes.
bool ContinuesAt(HINTERNET request, Length from, Length length)
{
    wchar_t range[128] = {};
    DWORD size = sizeof range;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_RANGE, WINHTTP_HEADER_NAME_BY_INDEX, range, &size,
                             WINHTTP_NO_HEADER_INDEX))
        return false;
    return std::wstring(range) ==
           L"bytes " + std::to_wstring(from) + L"-" + std::to_wstring(length - 1) + L"/" + std::to_wstring(length);
}

constexpr int kResumeRetries = 3;

// Empties the file and reads `answer`, a whole package of `length` bytes,
// into it from the start.
Outcome StartOver(HINTERNET answer, HANDLE file, Length length, Length limit, Length& received, IDownloadOwner* owner)
{
    LARGE_INTEGER zero = {};
    if (!SetFilePointerEx(file, zero, nullptr, FILE_BEGIN) || !SetEndOfFile(file))
        return Outcome::Failed;
    received = 0;
    owner->OnTransferRestarted();
    return Receive(answer, file, length, limit, received, owner);
}

// Receives the package into the open file. A body broken off in the middle
// is continued from what is on disk with a Range request, up to three times
// after pauses of 1, 2 and 4 seconds. When a server does not continue it (it
// sends the whole package, a range other than the one asked for, or an
// error), the package is read again from the start, once.
bool ReceivePackage(HINTERNET connection, const wchar_t* path, DWORD flags, HINTERNET get, HANDLE file, Length length,
                    Length limit, IDownloadOwner* owner)
{
    Length received = 0;
    Outcome outcome = Receive(get, file, length, limit, received, owner);
    bool restarted = false;
    for (int retry = 0; outcome == Outcome::Broken && retry < kResumeRetries; ++retry) {
        if (!PauseUnlessCancelled(owner, 1000u << retry))
            return false;
        WinHttpHandle again(
            SendRequest(connection, L"GET", path, flags, L"Range: bytes=" + std::to_wstring(received) + L"-"));
        if (owner->IsCancelled())
            return false;
        if (!again)
            continue; // the server may be back for the next try
        const DWORD status = StatusCode(again.get());
        if (status == HTTP_STATUS_PARTIAL_CONTENT && ContinuesAt(again.get(), received, length)) {
            outcome = Receive(again.get(), file, length, limit, received, owner);
            continue;
        }
        if (restarted)
            return false;
        restarted = true;
        if (status != HTTP_STATUS_OK) {
            again.reset(SendRequest(connection, L"GET", path, flags));
            if (owner->IsCancelled() || !again || StatusCode(again.get()) != HTTP_STATUS_OK)
                return false;
        }
        if (ContentLength(again.get()) != length)
            return false;
        outcome = StartOver(again.get(), file, length, limit, received, owner);
    }
    return outcome == Outcome::Whole;
}

// The wait for a silent package server. In the test configuration a test may
// set the release's long wait, to see the process end before it.
DWORD ReceiveTimeoutMs()
{
#ifdef FERNCASTLE_TEST_CONFIG
    wchar_t text[16] = {};
    const DWORD length = GetEnvironmentVariableW(L"FERNCASTLE_DOWNLOAD_RECEIVE_TIMEOUT_MS", text, 16);
    if (length > 0 && length < 16)
        return wcstoul(text, nullptr, 10);
#endif
    return kHttpReceiveTimeoutMs;
}

bool Download(const std::wstring& url, const std::wstring& path, IDownloadOwner* owner)
{
    // No package is larger than kMaxPackageBytes, whatever is announced: a
    // larger one is refused before anything is asked for.
    const Length announced = owner->AnnouncedSize();
    if (announced > kMaxPackageBytes)
        return false;
    UrlParts parts;
    if (!CrackUrl(url, parts))
        return false;
    const bool tls = parts.components.nScheme == INTERNET_SCHEME_HTTPS;

    WinHttpHandle session(
        WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session)
        return false;
    const DWORD receiveTimeout = ReceiveTimeoutMs();
    WinHttpSetTimeouts(session.get(), kHttpConnectTimeoutMs, kHttpConnectTimeoutMs, kHttpSendTimeoutMs, receiveTimeout);
    // Waiting for the response headers has a time-out of its own.
    DWORD responseTimeout = receiveTimeout;
    WinHttpSetOption(session.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseTimeout, sizeof responseTimeout);
    WinHttpHandle connection(WinHttpConnect(session.get(), parts.host, parts.components.nPort, 0));
    if (!connection)
        return false;

    // WinHTTP follows redirects by itself, at most 10 in a row: a package
    // its server has moved is still found, and a loop ends as a failure.
    const DWORD flags = WINHTTP_FLAG_REFRESH | (tls ? WINHTTP_FLAG_SECURE : 0);
    Length headLength = kNoLength;
    {
        WinHttpHandle head(SendRequest(connection.get(), L"HEAD", parts.path, flags));
        if (head && StatusCode(head.get()) / 100 == 2)
            headLength = ContentLength(head.get());
    }

    if (owner->IsCancelled())
        return false;
    WinHttpHandle get(SendRequest(connection.get(), L"GET", parts.path, flags));
    // An error page is not the package.
    if (!get || StatusCode(get.get()) != HTTP_STATUS_OK)
        return false;
    // The HEAD answer sets the length; a GET that announces another one, or
    // none when HEAD had none, decides.
    const Length getLength = ContentLength(get.get());
    const Length length = headLength != kNoLength && headLength > 0 ? headLength : getLength;
    if (getLength != kNoLength && getLength != length)
        return false;
    // A length other than the announced size is not the package: refused
    // before a byte is written, so that no server can fill the disk.
    const Length limit = announced > 0 ? announced : kMaxPackageBytes;
    if (length != kNoLength && (length > limit || (announced > 0 && length != announced)))
        return false;
    if ((length == kNoLength || length == 0) && !owner->TakesBodyWithoutLength())
        return false;

    base::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    // Until it is whole the file goes with its handle, even when the process
    // ends in the middle of a transfer.
    FILE_DISPOSITION_INFO disposition = {TRUE};
    const bool pending =
        SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
    bool whole = ReceivePackage(connection.get(), parts.path, flags, get.get(), file.get(), length, limit, owner);
    disposition.DeleteFile = FALSE;
    if (whole && pending)
        whole = SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
    file.reset();
    // A partial package is of no use to anyone; do not leave it behind.
    if (!whole && !pending)
        DeleteFileW(path.c_str());
    return whole;
}

} // namespace

void DownloadFile(const std::wstring& url, const std::wstring& path, IDownloadOwner* owner)
{
    const bool complete = Download(url, path, owner);
    owner->OnDownloadFinished(complete);
}
