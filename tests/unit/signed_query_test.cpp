#include <gtest/gtest.h>

#include <string>

#include "md5.h"
#include "signed_query.h"

namespace {

const char kUid[] = "0123456789abcdef0123456789abcdef";

UpdateRequest WorkedExample()
{
    UpdateRequest r;
    r.appId = "pdf";
    r.uid = kUid;
    r.version = "1.0.0.2";
    r.channel = "1001";
    r.osVersion = "Microsoft Windows 10";
    r.reqType = 1;
    r.ts = 1700000000;
    return r;
}

// Decodes standard Base64 (test helper; the client never decodes).
std::string Base64Decode(const std::string& in)
{
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (char c : in) {
        if (c == '=')
            break;
        bits = (bits << 6) | unsigned(alphabet.find(c));
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += char((bits >> count) & 0xFF);
        }
    }
    return out;
}

std::string UrlDecode(const std::string& in)
{
    std::string out;
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '%' && i + 2 < in.size()) {
            out += char(std::stoi(in.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += in[i];
        }
    }
    return out;
}

TEST(SignedQuery, WorkedExampleSizes)
{
    QueryParameters p = MakeQueryParameters(WorkedExample());
    const std::string signing = BuildSigningText(p);
    EXPECT_EQ(signing.size(), 109u);
    EXPECT_EQ(signing, std::string("pdf1001Microsoft Windows 1011700000000") + kUid + "1.0.0.2" + kSigningKey);

    const std::string query = BuildQueryText(p);
    EXPECT_EQ(query.size(), 168u);
    EXPECT_EQ(query, std::string("appId=pdf&channel=1001&osVersion=Microsoft Windows 10&reqType=1&ts=1700000000"
                                 "&uid=") +
                         kUid + "&version=1.0.0.2&sign=" + Md5Hex(signing));

    const std::string data = BuildSignedData(p);
    EXPECT_EQ(Base64Decode(UrlDecode(data)), query);
    EXPECT_EQ(UrlDecode(data).size(), 224u);
}

TEST(SignedQuery, DataParameterHoldsNoPlusSlashOrEquals)
{
    UpdateRequest r = WorkedExample();
    for (int i = 0; i < 64; ++i) {
        r.ts = 1700000000 + i * 7919;
        r.appId = std::string(size_t(i % 5), '?'); // '?' bytes push Base64 towards '/'
        const std::string data = BuildSignedData(MakeQueryParameters(r));
        EXPECT_EQ(data.find_first_of("+/="), std::string::npos) << data;
    }
}

TEST(SignedQuery, OrderIsByteWiseWhateverTheInsertionOrder)
{
    QueryParameters p;
    p["version"] = "v";
    p["uid"] = "u";
    p["ts"] = "5";
    p["reqType"] = "1";
    p["osVersion"] = "o";
    p["channel"] = "c";
    p["appId"] = "a";
    EXPECT_EQ(BuildQueryText(p).substr(0, 48), "appId=a&channel=c&osVersion=o&reqType=1&ts=5&uid");
}

TEST(SignedQuery, EmptyValueIsSentAndSignedAsNull)
{
    UpdateRequest r = WorkedExample();
    r.channel = "";
    QueryParameters p = MakeQueryParameters(r);
    EXPECT_NE(BuildQueryText(p).find("&channel=NULL&"), std::string::npos);
    EXPECT_EQ(BuildSigningText(p).substr(0, 7), "pdfNULL");
}

TEST(SignedQuery, AmpersandAndEqualsTravelUnescapedAndSigned)
{
    UpdateRequest r = WorkedExample();
    r.appId = "a&b=c";
    QueryParameters p = MakeQueryParameters(r);
    EXPECT_EQ(BuildQueryText(p).substr(0, 18), "appId=a&b=c&channe");
    EXPECT_EQ(BuildSigningText(p).substr(0, 5), "a&b=c");
}

TEST(SignedQuery, IntegersAsPlainDecimal)
{
    UpdateRequest r = WorkedExample();
    r.ts = -5;
    r.reqType = -2147483647 - 1;
    QueryParameters p = MakeQueryParameters(r);
    EXPECT_EQ(p["ts"], "-5");
    EXPECT_EQ(p["reqType"], "-2147483648");
    r.ts = 9007199254740993LL;
    EXPECT_EQ(MakeQueryParameters(r)["ts"], "9007199254740993");
}

TEST(SignedQuery, SignatureIsLowerCaseAndEscapesUpperCase)
{
    const std::string query = BuildQueryText(MakeQueryParameters(WorkedExample()));
    const std::string sign = query.substr(query.size() - 32);
    EXPECT_EQ(sign.find_first_not_of("0123456789abcdef"), std::string::npos);
    const std::string data = BuildSignedData(MakeQueryParameters(WorkedExample()));
    for (size_t at = data.find('%'); at != std::string::npos; at = data.find('%', at + 1))
        EXPECT_TRUE(data.compare(at, 3, "%2B") == 0 || data.compare(at, 3, "%2F") == 0 ||
                    data.compare(at, 3, "%3D") == 0)
            << data.substr(at, 3);
}

TEST(SignedQuery, RequestPrefix)
{
    EXPECT_EQ(MakeRequestPrefix("updates.example.com"), "http://updates.example.com/upgrade/info?data=");
}

TEST(ReadQueryAnswer, TransportFailureKeepsInitialAnswerFields)
{
    UpdateManifest m;
    m.updateType = 9;
    UpdateQueryResult r = ReadQueryAnswer(5, R"({"code":0,"data":{"updateType":1}})", m);
    EXPECT_FALSE(r.requestOk);
    EXPECT_EQ(r.requestError, 5);
    EXPECT_TRUE(r.answerOk);
    EXPECT_EQ(r.code, -1);
    EXPECT_EQ(r.desc, "");
    EXPECT_EQ(m.updateType, 9);
}

TEST(ReadQueryAnswer, AcceptedAndRejectedAnswers)
{
    UpdateManifest m;
    UpdateQueryResult ok = ReadQueryAnswer(0, R"({"code":0,"desc":"d","data":{"updateType":1}})", m);
    EXPECT_TRUE(ok.requestOk);
    EXPECT_EQ(ok.requestError, -1);
    EXPECT_TRUE(ok.answerOk);
    EXPECT_EQ(ok.code, 0);
    EXPECT_EQ(m.updateType, 1);

    UpdateQueryResult bad = ReadQueryAnswer(0, "<html>500</html>", m);
    EXPECT_TRUE(bad.requestOk);
    EXPECT_FALSE(bad.answerOk);
    EXPECT_EQ(bad.code, -1);
}

} // namespace
