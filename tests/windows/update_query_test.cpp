#include <gtest/gtest.h>

#include <windows.h>

#include <json/json.h>

#include <ctime>
#include <memory>
#include <string>

#include "http_timeouts.h"
#include "signed_query.h"
#include "test_server.h"
#include "text_encoding.h"
#include "update_query.h"
#include "updater_identity.h"
#include "wininet_http.h"

namespace {

UpdateRequest Request(const std::string& appId, const std::string& channel)
{
    UpdateRequest r;
    r.appId = appId;
    r.uid = "0123456789abcdef0123456789abcdef";
    r.version = FERNCASTLE_UPDATER_VERSION;
    r.channel = channel;
    r.osVersion = "Microsoft Windows 10";
    r.reqType = 1;
    r.ts = int64_t(time(nullptr));
    return r;
}

std::string Prefix(const std::string& path = "")
{
    return MakeRequestPrefix(TestServer::Address() + path);
}

// The server's record of the last update-information request.
Json::Value LastLogged()
{
    const std::vector<Json::Value> records = TestServer::LogRecords();
    for (auto record = records.rbegin(); record != records.rend(); ++record)
        if (record->isMember("answer"))
            return *record;
    return Json::Value();
}

const char kCatalogue[] = R"({"releases": [
  {"appId": "Ferncastle", "channel": "1001", "latestVersion": "2.0.0.1", "package": "setup.exe",
   "updateType": 1, "info": ["Faster start", "更快"]},
  {"appId": "a&b=c", "channel": "*", "latestVersion": "3.0", "package": "setup.exe", "updateType": 2}
]})";

TEST(UpdateQuery, ServerVerifiesTheSignedQueryAndOffersAnUpdate)
{
    TestServer::WritePackage("setup.exe", std::string(4321, 's'));
    TestServer::WriteCatalogue(kCatalogue);
    UpdateManifest manifest;
    UpdateQueryResult r = QueryUpdateInfo(Request("Ferncastle", "1001"), manifest, Prefix());
    EXPECT_TRUE(r.requestOk);
    EXPECT_TRUE(r.answerOk);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.desc, "update offered");
    EXPECT_EQ(manifest.updateType, 1);
    EXPECT_EQ(manifest.downloadUrl, TestServer::Url("/packages/setup.exe"));
    EXPECT_EQ(manifest.fileSize, 4321);
    EXPECT_EQ(manifest.fileMd5.size(), 32u);
    EXPECT_EQ(manifest.latestVersion, "2.0.0.1");
    ASSERT_EQ(manifest.info.size(), 2u);
    EXPECT_EQ(manifest.info[0], "Faster start");

    Json::Value logged = LastLogged();
    EXPECT_TRUE(logged["signatureOk"].asBool());
    EXPECT_EQ(logged["params"]["osVersion"].asString(), "Microsoft Windows 10");
    EXPECT_EQ(logged["params"]["reqType"].asString(), "1");
    const std::string raw = logged["rawQuery"].asString();
    ASSERT_EQ(raw.rfind("data=", 0), 0u);
    EXPECT_EQ(raw.find_first_of("+/= ", 5), std::string::npos) << raw;
}

TEST(UpdateQuery, EmptyValuesTravelAsNullAndSpecialCharactersUnescaped)
{
    TestServer::WriteCatalogue(kCatalogue);
    UpdateManifest manifest;
    UpdateQueryResult r = QueryUpdateInfo(Request("a&b=c", ""), manifest, Prefix());
    EXPECT_TRUE(r.answerOk);
    EXPECT_EQ(manifest.updateType, 2);
    Json::Value logged = LastLogged();
    EXPECT_TRUE(logged["signatureOk"].asBool());
    EXPECT_EQ(logged["params"]["appId"].asString(), "a&b=c");
    EXPECT_EQ(logged["params"]["channel"].asString(), "NULL");
}

TEST(UpdateQuery, NoReleaseMeansNoUpdate)
{
    TestServer::WriteCatalogue(kCatalogue);
    UpdateManifest manifest;
    UpdateQueryResult r = QueryUpdateInfo(Request("Ferncastle", "2002"), manifest, Prefix());
    EXPECT_TRUE(r.answerOk);
    EXPECT_EQ(manifest.updateType, 0);
}

TEST(UpdateQuery, StaleTimestampIsRefusedByTheServer)
{
    UpdateRequest request = Request("Ferncastle", "1001");
    request.ts -= 86400;
    UpdateManifest manifest;
    manifest.updateType = 7;
    UpdateQueryResult r = QueryUpdateInfo(request, manifest, Prefix());
    EXPECT_TRUE(r.requestOk);
    EXPECT_FALSE(r.answerOk);
    EXPECT_NE(r.code, 0);
    EXPECT_FALSE(r.desc.empty());
    EXPECT_EQ(manifest.updateType, 7);
}

TEST(UpdateQuery, BadSignatureIsRefusedByTheServer)
{
    QueryParameters p = MakeQueryParameters(Request("Ferncastle", "1001"));
    std::string query = BuildQueryText(p);
    query[query.size() - 1] = query[query.size() - 1] == '0' ? '1' : '0';
    CWininetHttp http;
    std::string body;
    ASSERT_EQ(http.Request(Prefix() + UrlEncode(Base64Encode(query.data(), query.size())), 0, body), kHttpOk);
    UpdateManifest manifest;
    UpdateQueryResult r = ReadQueryAnswer(0, body, manifest);
    EXPECT_FALSE(r.answerOk);
    EXPECT_NE(r.code, 0);
    EXPECT_FALSE(LastLogged()["signatureOk"].asBool());
}

TEST(UpdateQuery, TransportFaults)
{
    UpdateManifest manifest;
    manifest.updateType = 7;
    UpdateQueryResult notFound = QueryUpdateInfo(Request("Ferncastle", "1001"), manifest, Prefix("/fault/404"));
    EXPECT_FALSE(notFound.requestOk);
    EXPECT_EQ(notFound.requestError, kHttpNotFound);
    EXPECT_EQ(notFound.code, -1);

    UpdateQueryResult serverError = QueryUpdateInfo(Request("Ferncastle", "1001"), manifest, Prefix("/fault/500"));
    EXPECT_TRUE(serverError.requestOk);
    EXPECT_FALSE(serverError.answerOk);
    EXPECT_EQ(serverError.code, -1);

    UpdateQueryResult malformed =
        QueryUpdateInfo(Request("Ferncastle", "1001"), manifest, Prefix("/fault/malformed-json"));
    EXPECT_TRUE(malformed.requestOk);
    EXPECT_FALSE(malformed.answerOk);
    EXPECT_EQ(manifest.updateType, 7);
}

TEST(UpdateQuery, AnswersAreReadUpToTheirCap)
{
    TestServer::WriteCatalogue(kCatalogue);
    const struct {
        std::string fault;
        bool read;
        int error;
    } cases[] = {
        {"/fault/pad-answer/" + std::to_string(kMaxAnswerBytes), true, kHttpOk},
        {"/fault/pad-answer/" + std::to_string(kMaxAnswerBytes + 1), false, kHttpAnswerTooLarge},
        {"/fault/huge-answer", false, kHttpAnswerTooLarge},
        // Headers that never quite stall: the whole exchange has one deadline.
        {"/fault/trickle-headers/500", false, kHttpAnswerTooSlow},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        UpdateManifest manifest;
        const ULONGLONG start = GetTickCount64();
        UpdateQueryResult r = QueryUpdateInfo(Request("Ferncastle", "1001"), manifest, Prefix(c.fault));
        EXPECT_LT(GetTickCount64() - start, ULONGLONG(kUpdateCheckDeadlineMs + 1000));
        EXPECT_EQ(r.requestOk, c.read);
        if (!c.read) {
            EXPECT_EQ(r.requestError, c.error);
        }
        EXPECT_EQ(manifest.updateType, c.read ? 1 : 0);
    }
}

} // namespace

namespace {

// update_http_tests link the test configuration, which may be pointed at
// another server; the release configuration cannot (update_win_tests).
TEST(UpdateQuery, TestConfigurationTakesTheServerFromTheEnvironment)
{
    SetEnvironmentVariableA("FERNCASTLE_UPDATE_SERVER", TestServer::Address().c_str());
    EXPECT_EQ(DefaultRequestPrefix(), MakeRequestPrefix(TestServer::Address()));
    SetEnvironmentVariableA("FERNCASTLE_UPDATE_SERVER", nullptr);
    EXPECT_EQ(DefaultRequestPrefix(), MakeRequestPrefix(FERNCASTLE_UPDATE_HOST));
}

} // namespace
