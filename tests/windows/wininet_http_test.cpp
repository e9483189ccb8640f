#include <gtest/gtest.h>

#include <windows.h>

#include <wininet.h>

#include <algorithm>
#include <string>
#include <vector>

#include "http_timeouts.h"
#include "test_server.h"
#include "wininet_http.h"

namespace {

struct CodeCase {
    std::string url;
    int code;
};

// Each failing step reports its own code and leaves the response alone.
TEST(CWininetHttp, EachFailingStepHasItsCode)
{
    const CodeCase cases[] = {
        {"", kHttpEmptyAddress},
        {"http:///upgrade/info", kHttpConnectFailed},         // no host name
        {"http://127.0.0.1:9/upgrade/info", kHttpSendFailed}, // nothing listens on port 9 here
        // Closed without a status line: Wine's HttpSendRequestA succeeds and
        // leaves the raw headers empty (Windows may already fail the send).
        {TestServer::Url("/fault/no-answer/x"), kHttpHeadersFailed},
        {TestServer::Url("/nothing-here"), kHttpNotFound},
    };
    for (const CodeCase& c : cases) {
        CWininetHttp http;
        std::string response = "untouched";
        EXPECT_EQ(http.Request(c.url, 0, response), c.code) << c.url;
        EXPECT_EQ(response, "untouched") << c.url;
    }
}

TEST(CWininetHttp, ServerErrorBodyIsReturnedAsSuccess)
{
    CWininetHttp http;
    std::string response;
    EXPECT_EQ(http.Request(TestServer::Url("/fault/500/upgrade/info?data=x"), 0, response), kHttpOk);
    EXPECT_NE(response.find("500"), std::string::npos);
}

TEST(CWininetHttp, ExplicitPortIsHonouredAndBodyIsWhole)
{
    TestServer::WritePackage("body.bin", std::string(10000, 'b') + "END");
    CWininetHttp http;
    std::string response;
    ASSERT_EQ(http.Request(TestServer::Url("/packages/body.bin"), 0, response), kHttpOk);
    EXPECT_EQ(response.size(), 10003u);
    EXPECT_EQ(response.substr(10000), "END");
}

TEST(CWininetHttp, HostAndPathWithoutSchemeAreUsedDirectly)
{
    TestServer::WritePackage("plain.bin", "plain");
    CWininetHttp http;
    std::string response;
    ASSERT_EQ(http.Request(TestServer::Address() + "/packages/plain.bin", 0, response), kHttpOk);
    EXPECT_EQ(response, "plain");
}

TEST(CWininetHttp, UnreachablePortFailsWithinTheConnectTimeOut)
{
    CWininetHttp http;
    std::string response;
    DWORD start = GetTickCount();
    EXPECT_EQ(http.Request("http://127.0.0.1:9/upgrade/info?data=x", 0, response), kHttpSendFailed);
    EXPECT_LT(GetTickCount() - start, DWORD(kHttpConnectTimeoutMs + 5000));
}

TEST(CWininetHttp, StalledServerEndsWithinTheTimeOut)
{
    CWininetHttp http;
    std::string response = "untouched";
    DWORD start = GetTickCount();
    int code = http.Request(TestServer::Url("/fault/stall/upgrade/info?data=x"), 0, response);
    DWORD took = GetTickCount() - start;
    EXPECT_NE(code, kHttpOk);
    EXPECT_LT(took, DWORD(kHttpSendTimeoutMs + kHttpReceiveTimeoutMs + 5000));
}

} // namespace

// Reads the handles a request leaves in the object.
struct CWininetHttpInspector {
    static std::vector<void*> Handles(const CWininetHttp& http)
    {
        return {http.hInternet, http.hConnect, http.hRequest};
    }
};

namespace {

bool IsOpenInternetHandle(void* handle)
{
    DWORD type = 0, size = sizeof type;
    return InternetQueryOptionA(static_cast<HINTERNET>(handle), INTERNET_OPTION_HANDLE_TYPE, &type, &size) != FALSE;
}

TEST(CWininetHttp, ASecondRequestClosesTheHandlesOfTheFirst)
{
    TestServer::WritePackage("twice.bin", "twice");
    CWininetHttp http;
    std::string response;
    ASSERT_EQ(http.Request(TestServer::Url("/packages/twice.bin"), 0, response), kHttpOk);
    const std::vector<void*> first = CWininetHttpInspector::Handles(http);
    ASSERT_EQ(http.Request(TestServer::Url("/packages/twice.bin"), 0, response), kHttpOk);
    const std::vector<void*> second = CWininetHttpInspector::Handles(http);
    for (void* handle : first) {
        ASSERT_NE(handle, nullptr);
        // A closed handle's value may be handed out again to the new request.
        const bool reused = std::find(second.begin(), second.end(), handle) != second.end();
        EXPECT_TRUE(reused || !IsOpenInternetHandle(handle)) << "handle " << handle << " is still open";
    }
    http.CloseHandles();
    for (void* handle : second)
        EXPECT_FALSE(IsOpenInternetHandle(handle));
}

// The URL WinINet made of the request: its scheme says whether TLS was asked for.
std::string RequestUrl(const CWininetHttp& http)
{
    char url[1024] = {};
    DWORD size = sizeof url;
    if (!InternetQueryOptionA(static_cast<HINTERNET>(CWininetHttpInspector::Handles(http)[2]), INTERNET_OPTION_URL, url,
                              &size))
        return "<none>";
    return url;
}

TEST(CWininetHttp, HttpsSchemeAndPort443SelectTls)
{
    // The plain server sees a TLS handshake record where a request line belongs.
    const size_t logged = TestServer::LogLines().size();
    CWininetHttp https;
    std::string response;
    EXPECT_NE(https.Request("https://" + TestServer::Address() + "/packages/x", 0, response), kHttpOk);
    EXPECT_EQ(RequestUrl(https).rfind("https://", 0), 0u) << RequestUrl(https);
    bool handshake = false;
    for (const Json::Value& record : TestServer::LogRecords(logged))
        handshake = handshake || record["tls"] == true;
    EXPECT_TRUE(handshake);

    // Port 443 with the plain scheme asks for TLS too (nothing need listen there).
    CWininetHttp port443;
    port443.Request("http://127.0.0.1:443/upgrade/info", 0, response);
    EXPECT_EQ(RequestUrl(port443).rfind("https://127.0.0.1", 0), 0u) << RequestUrl(port443);
    CWininetHttp plain;
    TestServer::WritePackage("x", "x"); // read to its end: the handles stay to be looked at
    plain.Request(TestServer::Url("/packages/x"), 0, response);
    EXPECT_EQ(RequestUrl(plain).rfind("http://", 0), 0u) << RequestUrl(plain);
}

} // namespace
