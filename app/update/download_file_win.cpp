#include "download_file.h"

#include <windows.h>

#include <winhttp.h>

#include <cwchar>
#include <string>
#include <vector>

#include "base/unique_handle.h"
#include "http_timeouts.h"
#include "package_proxy.h"
#include "proxy_choice.h"
#include "resume_validator.h"
#include "transfer_rate_guard.h"

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

// Where the package's requests go: the server's connection, the path and
// the request flags.
struct RequestTarget {
    HINTERNET connection;
    const wchar_t* path;
    DWORD flags;
};

DWORD StatusCode(HINTERNET request)
{
    DWORD status = 0, size = sizeof status;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        return 0;
    return status;
}

// Opens, sends and receives one request; null when any step failed. A
// proxy's challenge is answered only with the logged-on user's Negotiate or
// NTLM log-on, as WinINet does for the query: one asking for a password
// gets none, and its 407 is the answer. No server ever gets the log-on.
HINTERNET SendRequest(const RequestTarget& target, const wchar_t* verb, const std::wstring& headers = std::wstring())
{
    WinHttpHandle request(WinHttpOpenRequest(target.connection, verb, target.path, L"HTTP/1.1", WINHTTP_NO_REFERER,
                                             WINHTTP_DEFAULT_ACCEPT_TYPES, target.flags));
    // Added once: a request sent again after a challenge would repeat them.
    if (!request ||
        (!headers.empty() && !WinHttpAddRequestHeaders(request.get(), headers.c_str(), DWORD(-1),
                                                       WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE)))
        return nullptr;
    DWORD logOn = WINHTTP_AUTOLOGON_SECURITY_LEVEL_HIGH;
    WinHttpSetOption(request.get(), WINHTTP_OPTION_AUTOLOGON_POLICY, &logOn, sizeof logOn);
    // Negotiate may take a second round after the first answer to it.
    for (int challenges = 0;; ++challenges) {
        if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
            !WinHttpReceiveResponse(request.get(), nullptr))
            return nullptr;
        DWORD offered = 0, first = 0, on = 0;
        if (StatusCode(request.get()) != HTTP_STATUS_PROXY_AUTH_REQ || challenges == 2 ||
            !WinHttpQueryAuthSchemes(request.get(), &offered, &first, &on) || on != WINHTTP_AUTH_TARGET_PROXY)
            break;
        const DWORD scheme = ChooseProxyAuthScheme(offered);
        // The log-on goes to the proxy that asked for it, and only now.
        logOn = WINHTTP_AUTOLOGON_SECURITY_LEVEL_LOW;
        if (scheme == 0 || !WinHttpSetOption(request.get(), WINHTTP_OPTION_AUTOLOGON_POLICY, &logOn, sizeof logOn) ||
            !WinHttpSetCredentials(request.get(), WINHTTP_AUTH_TARGET_PROXY, scheme, nullptr, nullptr, nullptr))
            break;
    }
    return request.release();
}

static_assert(kProxyAuthBasic == WINHTTP_AUTH_SCHEME_BASIC && kProxyAuthNtlm == WINHTTP_AUTH_SCHEME_NTLM &&
                  kProxyAuthDigest == WINHTTP_AUTH_SCHEME_DIGEST &&
                  kProxyAuthNegotiate == WINHTTP_AUTH_SCHEME_NEGOTIATE,
              "the schemes have WinHTTP's values");

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

// The text of a response header, or empty when there is none (or it is
// longer than any value used here).
std::wstring HeaderText(HINTERNET request, DWORD query)
{
    wchar_t text[512] = {};
    DWORD size = sizeof text - sizeof text[0];
    if (!WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, text, &size, WINHTTP_NO_HEADER_INDEX))
        return std::wstring();
    return text;
}

// A date header as a time, in 100 ns units; false when there is none.
bool HeaderTime(HINTERNET request, DWORD query, ULONGLONG& time)
{
    SYSTEMTIME system = {};
    DWORD size = sizeof system;
    FILETIME file = {};
    if (!WinHttpQueryHeaders(request, query | WINHTTP_QUERY_FLAG_SYSTEMTIME, WINHTTP_HEADER_NAME_BY_INDEX, &system,
                             &size, WINHTTP_NO_HEADER_INDEX) ||
        !SystemTimeToFileTime(&system, &file))
        return false;
    time = (ULONGLONG(file.dwHighDateTime) << 32) | file.dwLowDateTime;
    return true;
}

ResumeValidator ValidatorOf(HINTERNET answer)
{
    // A modification time names one version only when the answer came a
    // while after it: a second's resolution cannot tell apart two versions
    // written within it.
    constexpr ULONGLONG kStrongDateAge = 60ull * 10000000;
    ULONGLONG modified = 0, date = 0;
    const bool dateIsStrong = HeaderTime(answer, WINHTTP_QUERY_LAST_MODIFIED, modified) &&
                              HeaderTime(answer, WINHTTP_QUERY_DATE, date) && date >= modified &&
                              date - modified >= kStrongDateAge;
    return ResumeValidator::Choose(HeaderText(answer, WINHTTP_QUERY_ETAG),
                                   HeaderText(answer, WINHTTP_QUERY_LAST_MODIFIED), dateIsStrong);
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

// Whether a 206 answer continues exactly at `from` and runs to the end of
// a package of `length` bytes.
bool ContinuesAt(HINTERNET request, Length from, Length length)
{
    return HeaderText(request, WINHTTP_QUERY_CONTENT_RANGE) ==
           L"bytes " + std::to_wstring(from) + L"-" + std::to_wstring(length - 1) + L"/" + std::to_wstring(length);
}

constexpr int kResumeRetries = 3;

// The package's transfer into its open file: the first answer's body, then
// what a broken body is allowed. It is continued from what is on disk with
// a Range request, up to three times after pauses of 1, 2 and 4 seconds,
// but only from the same version of the package: the request names the
// first answer's validator in If-Range, and without one it is continued only
// when the whole file is checked before it is used; otherwise it is read
// again from the start. When a server does not continue it (it sends the
// whole package, a range other than the one asked for, or an error), the
// package is read again from the start, once. Throughout, too slow a
// transfer fails.
class PackageTransfer {
public:
    PackageTransfer(const RequestTarget& target, HANDLE file, Length length, Length limit, IDownloadOwner* owner,
                    DWORD rateWindowMs)
        : target_(target), file_(file), length_(length), limit_(limit), owner_(owner),
          rate_(kMinBytesPerRateWindow, rateWindowMs, GetTickCount64())
    {
    }

    // True when the whole package is in the file.
    bool Run(HINTERNET first)
    {
        Adopt(first);
        Outcome outcome = Receive(first);
        bool restarted = false;
        for (int retry = 0; outcome == Outcome::Broken && retry < kResumeRetries; ++retry) {
            if (!Pause(1000u << retry) || !rate_.Holds(GetTickCount64()))
                return false;
            WinHttpHandle again(SendRequest(target_, L"GET", resumable_ ? ResumeHeaders() : std::wstring()));
            if (owner_->IsCancelled())
                return false;
            if (!again)
                continue; // the server may be back for the next try
            const DWORD status = StatusCode(again.get());
            if (!resumable_) {
                if (status != HTTP_STATUS_OK || ContentLength(again.get()) != length_)
                    return false;
                outcome = StartOver(again.get());
                continue;
            }
            if (status == HTTP_STATUS_PARTIAL_CONTENT && ContinuesAt(again.get(), received_, length_) &&
                validator_.Matches(HeaderText(again.get(), WINHTTP_QUERY_ETAG),
                                   HeaderText(again.get(), WINHTTP_QUERY_LAST_MODIFIED), owner_->ChecksWholeFile())) {
                outcome = Receive(again.get());
                continue;
            }
            if (restarted)
                return false;
            restarted = true;
            if (status != HTTP_STATUS_OK) {
                again.reset(SendRequest(target_, L"GET"));
                if (owner_->IsCancelled() || !again || StatusCode(again.get()) != HTTP_STATUS_OK)
                    return false;
            }
            if (ContentLength(again.get()) != length_)
                return false;
            outcome = StartOver(again.get());
        }
        return outcome == Outcome::Whole;
    }

private:
    // Takes the validator of the answer whose body now fills the file.
    void Adopt(HINTERNET answer)
    {
        validator_ = ValidatorOf(answer);
        resumable_ = !validator_.Empty() || owner_->ChecksWholeFile();
    }

    std::wstring ResumeHeaders() const
    {
        std::wstring headers = L"Range: bytes=" + std::to_wstring(received_) + L"-";
        if (!validator_.Empty())
            headers += L"\r\nIf-Range: " + validator_.IfRange();
        return headers;
    }

    // Every byte counted in received_ is on disk when this returns, so that
    // a broken body can be continued from the file's end.
    Outcome Receive(HINTERNET answer)
    {
        BlockWriter writer(file_);
        const Outcome outcome = ReceivePieces(answer, writer);
        return writer.Flush() ? outcome : Outcome::Failed;
    }

    // Copies the body into the writer. Only a read that succeeds with 0
    // bytes ends a body: a failed read (a reset, a time-out) is a broken
    // transfer, with or without an announced length. A body without a length
    // that grows past the limit fails: it is not the package.
    Outcome ReceivePieces(HINTERNET answer, BlockWriter& writer)
    {
        const bool known = length_ != kNoLength && length_ > 0;
        std::vector<char> buffer(kPieceSize);
        while (!known || received_ < length_) {
            if (owner_->IsCancelled())
                return Outcome::Failed;
            // Only what has arrived: under Wine a read waits until its buffer
            // is full, and a server trickling a byte at a time would hold it
            // for far longer than the rate's window.
            DWORD available = 0, read = 0;
            bool ok = WinHttpQueryDataAvailable(answer, &available) != FALSE;
            if (ok && available > 0)
                ok = WinHttpReadData(answer, buffer.data(), available < kPieceSize ? available : kPieceSize, &read) !=
                     FALSE;
            if (!rate_.Arrived(ok ? read : 0, GetTickCount64()))
                return Outcome::Failed;
            if (!ok)
                return known ? Outcome::Broken : Outcome::Failed;
            if (read == 0)
                break;
            if (received_ + read > limit_ || !writer.Add(buffer.data(), read))
                return Outcome::Failed;
            received_ += read;
            owner_->OnPieceWritten(buffer.data(), read);
            if (known)
                owner_->SetProgress(DownloadPercent(received_, length_));
        }
        if (known)
            return received_ == length_ ? Outcome::Whole : Outcome::Broken;
        // Without an announced length the body ends with the connection; it
        // counts only when something arrived.
        if (received_ == 0)
            return Outcome::Failed;
        owner_->SetProgress(100);
        return Outcome::Whole;
    }

    // Empties the file and reads `answer`, a whole package, into it from the start.
    Outcome StartOver(HINTERNET answer)
    {
        LARGE_INTEGER zero = {};
        if (!SetFilePointerEx(file_, zero, nullptr, FILE_BEGIN) || !SetEndOfFile(file_))
            return Outcome::Failed;
        received_ = 0;
        owner_->OnTransferRestarted();
        Adopt(answer);
        return Receive(answer);
    }

    // Waits `ms` unless the owner cancels first; false when it did. The
    // pause is no part of the transfer's rate.
    bool Pause(DWORD ms)
    {
        const ULONGLONG start = GetTickCount64();
        bool cancelled = owner_->IsCancelled();
        while (!cancelled && GetTickCount64() - start < ms) {
            Sleep(50);
            cancelled = owner_->IsCancelled();
        }
        rate_.LeaveOut(GetTickCount64() - start);
        return !cancelled;
    }

    const RequestTarget& target_;
    HANDLE file_;
    Length length_;
    Length limit_;
    IDownloadOwner* owner_;
    TransferRateGuard rate_;
    ResumeValidator validator_;
    bool resumable_ = false;
    Length received_ = 0;
};

// A setting of the download that the test configuration lets a test change
// through the environment: the long waits of the release, to see the
// process end before them, or short ones, to see them pass.
DWORD DownloadSetting(const wchar_t* name, DWORD value)
{
#ifdef FERNCASTLE_TEST_CONFIG
    wchar_t text[16] = {};
    const DWORD length = GetEnvironmentVariableW(name, text, 16);
    if (length > 0 && length < 16)
        return wcstoul(text, nullptr, 10);
#else
    (void)name;
#endif
    return value;
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
    const std::wstring proxy = PackageProxyFor(url, [owner] { return owner->IsCancelled(); });
    if (owner->IsCancelled())
        return false;

    // The proxy is the session's, so that every request, a redirect's too,
    // takes it (Wine ignores one set on a request). The bypass list was
    // applied when it was chosen.
    WinHttpHandle session(
        WinHttpOpen(nullptr, proxy.empty() ? WINHTTP_ACCESS_TYPE_NO_PROXY : WINHTTP_ACCESS_TYPE_NAMED_PROXY,
                    proxy.empty() ? WINHTTP_NO_PROXY_NAME : proxy.c_str(), WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session)
        return false;
    const DWORD receiveTimeout = DownloadSetting(L"FERNCASTLE_DOWNLOAD_RECEIVE_TIMEOUT_MS", kHttpReceiveTimeoutMs);
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
    const RequestTarget target = {connection.get(), parts.path, flags};
    Length headLength = kNoLength;
    {
        WinHttpHandle head(SendRequest(target, L"HEAD"));
        if (head && StatusCode(head.get()) / 100 == 2)
            headLength = ContentLength(head.get());
    }

    if (owner->IsCancelled())
        return false;
    WinHttpHandle get(SendRequest(target, L"GET"));
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

    // A new file only: whatever is at the name already, a link included, is
    // not written through. (The launch decides on the file it opens.)
    base::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    // Until it is whole the file goes with its handle, even when the process
    // ends in the middle of a transfer.
    FILE_DISPOSITION_INFO disposition = {TRUE};
    const bool pending =
        SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
    PackageTransfer transfer(target, file.get(), length, limit, owner,
                             DownloadSetting(L"FERNCASTLE_DOWNLOAD_RATE_WINDOW_MS", kDownloadRateWindowMs));
    bool whole = transfer.Run(get.get());
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
