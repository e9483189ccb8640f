#pragma once

#include <cstddef>
#include <string>

// Result codes of CWininetHttp::Request.
enum WininetResult {
    kHttpOk = 0,
    kHttpOpenFailed = 1,     // InternetOpenA or HttpOpenRequestA failed
    kHttpConnectFailed = 2,  // InternetConnectA failed
    kHttpSendFailed = 3,     // HttpSendRequestA failed (also: no answer in time)
    kHttpHeadersFailed = 4,  // the raw headers could not be read
    kHttpNotFound = 5,       // the status line contains "404"
    kHttpAnswerTooLarge = 6, // the body grew beyond kMaxAnswerBytes
    kHttpAnswerTooSlow = 7,  // QueryUpdateInfo: the exchange had not ended by kUpdateCheckDeadlineMs
    kHttpEmptyAddress = 14,
};

// Bodies beyond this are not read on: an update answer is a few hundred
// bytes, and a server must not make the updater hold or parse megabytes.
constexpr size_t kMaxAnswerBytes = 1024 * 1024;

// One request over WinINet, the whole body returned in memory. The handles
// stay in the object after Request and are closed by the destructor.
class CWininetHttp {
public:
    CWininetHttp() = default;
    virtual ~CWininetHttp();
    CWininetHttp(const CWininetHttp&) = delete;
    CWininetHttp& operator=(const CWininetHttp&) = delete;

    // `post` non-zero sends POST, else GET; `body` and `headers` may be null.
    // `response` is written only on kHttpOk.
    virtual int Request(std::string url, int post, std::string& response, const char* body = nullptr,
                        const char* headers = nullptr);
    // Deletes the object; nothing happens on a null object.
    virtual void Release();

    void CloseHandles();

private:
    friend struct CWininetHttpInspector; // tests look at the handles

    // Forgets the handles without closing them.
    void AbandonHandles();

    bool isHttps = false;
    void* hInternet = nullptr;
    void* hConnect = nullptr;
    void* hRequest = nullptr;
};
