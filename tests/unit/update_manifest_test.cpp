#include <gtest/gtest.h>

#include <string>

#include "update_manifest.h"

namespace {

UpdateManifest Sentinel()
{
    UpdateManifest m;
    m.updateType = 42;
    m.downloadUrl = "keep";
    m.info = {"old"};
    return m;
}

void ExpectUntouched(const UpdateManifest& m)
{
    EXPECT_EQ(m.updateType, 42);
    EXPECT_EQ(m.downloadUrl, "keep");
    ASSERT_EQ(m.info.size(), 1u);
    EXPECT_EQ(m.info[0], "old");
}

const char kFullAnswer[] = R"({"code":0,"desc":"ok","data":{"downloadUrl":"http://h/p.exe","fileMd5":"abc",
    "fileSize":1234,"latestVersion":"2.0.0.1","updateType":1,"info":["one","two"]}})";

TEST(ParseUpdateAnswer, FullAnswerFillsEveryField)
{
    UpdateManifest m;
    AnswerOutcome o = ParseUpdateAnswer(kFullAnswer, m);
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.code, 0);
    EXPECT_EQ(o.desc, "ok");
    EXPECT_EQ(m.downloadUrl, "http://h/p.exe");
    EXPECT_EQ(m.fileMd5, "abc");
    EXPECT_EQ(m.fileSize, 1234);
    EXPECT_EQ(m.latestVersion, "2.0.0.1");
    EXPECT_EQ(m.updateType, 1);
    EXPECT_EQ(m.info, (std::vector<std::string>{"one", "two"}));
}

TEST(ParseUpdateAnswer, InfoIsAppendedToWhatTheListHolds)
{
    UpdateManifest m;
    m.info = {"zero"};
    ParseUpdateAnswer(kFullAnswer, m);
    EXPECT_EQ(m.info, (std::vector<std::string>{"zero", "one", "two"}));
}

TEST(ParseUpdateAnswer, OnlyCodeZeroIsAcceptedWithInitialManifest)
{
    UpdateManifest m;
    AnswerOutcome o = ParseUpdateAnswer(R"({"code":0})", m);
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.code, 0);
    EXPECT_EQ(o.desc, "");
    EXPECT_EQ(m.updateType, 0);
    EXPECT_EQ(m.downloadUrl, "");
    EXPECT_EQ(m.fileSize, 0);
    EXPECT_TRUE(m.info.empty());
}

struct AnswerRow {
    const char* name;
    const char* text;
    bool ok;
    int code;
    const char* desc;
    bool manifestWritten;
};

// One row per kind of answer: how it is judged, and whether the caller's
// manifest may change.
const AnswerRow kAnswers[] = {
    {"server error with data", R"({"code":1,"desc":"bad","data":{"updateType":3}})", false, 1, "bad", false},
    {"desc without code", R"({"desc":"hello"})", true, 0, "hello", true},
    {"code 0.9 truncates to 0", R"({"code":0.9})", true, 0, "", true},
    {"code -1", R"({"code":-1,"desc":"x"})", false, -1, "x", false},
    {"code true reads as 1", R"({"code":true})", false, 1, "", false},
    {"trailing text", R"({"code":0,"desc":"t"} trailing garbage)", true, 0, "t", true},
    {"comments allowed", "// c\n{\"code\":0 /* here */}", true, 0, "", true},
    {"empty body", "", false, -1, "", false},
    {"html error page", "<html><body>500</body></html>", false, -1, "", false},
    {"cut short", R"({"code":0,"data":{"updateType":1,)", false, -1, "", false},
    {"single quotes", "{'code':0}", false, -1, "", false},
    {"code as string", R"({"code":"0"})", false, -1, "", false},
    {"code out of int range", R"({"code":1e20})", false, -1, "", false},
    {"desc as object", R"({"code":0,"desc":{}})", false, -1, "", false},
    {"root as array", R"([1,2])", false, -1, "", false},
    {"root as string", R"("hello")", false, -1, "", false},
    {"root null", "null", true, 0, "", true},
    {"data as array", R"({"code":0,"data":[1]})", false, -1, "", false},
    {"data as string", R"({"code":0,"data":"x"})", false, -1, "", false},
    {"fileSize as string", R"({"code":0,"data":{"fileSize":"12"}})", false, -1, "", false},
    {"updateType as object", R"({"code":0,"data":{"updateType":{}}})", false, -1, "", false},
    {"info as object", R"({"code":0,"data":{"info":{"a":"b"}}})", false, -1, "", false},
    {"info element as object", R"({"code":0,"data":{"info":[{}]}})", false, -1, "", false},
    {"too deep", nullptr, false, -1, "", false},
};

TEST(ParseUpdateAnswer, JudgementTable)
{
    for (const AnswerRow& row : kAnswers) {
        std::string text = row.text ? row.text : std::string(2000, '[') + std::string(2000, ']');
        UpdateManifest m = Sentinel();
        AnswerOutcome o = ParseUpdateAnswer(text, m);
        EXPECT_EQ(o.ok, row.ok) << row.name;
        EXPECT_EQ(o.code, row.code) << row.name;
        EXPECT_EQ(o.desc, row.desc) << row.name;
        if (!row.manifestWritten) {
            SCOPED_TRACE(row.name);
            ExpectUntouched(m);
        }
    }
}

TEST(ParseUpdateAnswer, InfoMissingNullStringOrNumberLeavesItEmpty)
{
    for (const char* info : {"", R"(,"info":null)", R"(,"info":"text")", R"(,"info":7)", R"(,"info":{})"}) {
        UpdateManifest m;
        std::string text = std::string(R"({"code":0,"data":{"updateType":1)") + info + "}}";
        EXPECT_TRUE(ParseUpdateAnswer(text, m).ok) << text;
        EXPECT_TRUE(m.info.empty()) << text;
        EXPECT_EQ(m.updateType, 1) << text;
    }
}

TEST(ParseUpdateAnswer, ScalarConversions)
{
    UpdateManifest m;
    ASSERT_TRUE(ParseUpdateAnswer(
                    R"({"code":0,"data":{"downloadUrl":12,"fileMd5":true,"latestVersion":null,"updateType":2.7,
                        "info":[1,false,null,"s"]}})",
                    m)
                    .ok);
    EXPECT_EQ(m.downloadUrl, "12");
    EXPECT_EQ(m.fileMd5, "true");
    EXPECT_EQ(m.latestVersion, "");
    EXPECT_EQ(m.updateType, 2);
    EXPECT_EQ(m.info, (std::vector<std::string>{"1", "false", "", "s"}));
}

TEST(ParseUpdateAnswer, FileSigIsReadAsTextAndAbsentIsEmpty)
{
    const struct {
        const char* member;
        bool ok;
        const char* fileSig;
    } rows[] = {
        {"", true, ""},
        {R"(,"fileSig":"c2ln")", true, "c2ln"},
        {R"(,"fileSig":null)", true, ""},
        {R"(,"fileSig":12)", true, "12"},
        {R"(,"fileSig":{"a":1})", false, ""},
        {R"(,"fileSig":["c2ln"])", false, ""},
    };
    for (const auto& row : rows) {
        UpdateManifest m;
        const std::string text = std::string(R"({"code":0,"data":{"updateType":1)") + row.member + "}}";
        EXPECT_EQ(ParseUpdateAnswer(text, m).ok, row.ok) << text;
        EXPECT_EQ(m.fileSig, row.fileSig) << text;
    }
}

TEST(ParseUpdateAnswer, FileSizeAboveTwoToTheThirtyOneIsExact)
{
    UpdateManifest m;
    ASSERT_TRUE(ParseUpdateAnswer(R"({"code":0,"data":{"fileSize":4294967301}})", m).ok);
    EXPECT_EQ(m.fileSize, 4294967301LL);
}

TEST(ParseUpdateAnswer, DuplicateKeysLastOneWins)
{
    UpdateManifest m;
    AnswerOutcome o = ParseUpdateAnswer(R"({"code":1,"code":0,"data":{"updateType":1,"updateType":5}})", m);
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(m.updateType, 5);
}

TEST(ParseUpdateAnswer, UnicodeEscapeArrivesAsUtf8)
{
    UpdateManifest m;
    ASSERT_TRUE(ParseUpdateAnswer(R"({"code":0,"data":{"info":["\u6700"]}})", m).ok);
    ASSERT_EQ(m.info.size(), 1u);
    EXPECT_EQ(m.info[0], "\xE6\x9C\x80");
}

} // namespace
