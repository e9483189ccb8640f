#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "code_page.h"
#include "download_file.h"
#include "http_timeouts.h"
#include "test_server.h"

namespace {

class RecordingOwner : public IDownloadOwner {
public:
    std::vector<int> progress;
    int finishedCalls = 0;
    bool complete = false;

    size_t bytes = 0; // as handed over in pieces, since the last restart
    int restarts = 0;
    unsigned long long announced = 0;
    bool takesBodyWithoutLength = true;
    bool checksWholeFile = false;

    void SetProgress(int percent) override { progress.push_back(percent); }
    void OnPieceWritten(const char*, size_t size) override { bytes += size; }
    void OnTransferRestarted() override
    {
        ++restarts;
        bytes = 0;
    }
    unsigned long long AnnouncedSize() const override { return announced; }
    bool TakesBodyWithoutLength() const override { return takesBodyWithoutLength; }
    bool ChecksWholeFile() const override { return checksWholeFile; }
    void OnDownloadFinished(bool done) override
    {
        ++finishedCalls;
        complete = done;
    }
};

std::string Package(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + 3) & 0xFF);
    return bytes;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class DownloadFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        target_ = TestServer::Dir() + "downloaded.exe";
        DeleteFileA(target_.c_str());
    }
    void TearDown() override { DeleteFileA(target_.c_str()); }

    RecordingOwner Download(const std::string& path, unsigned long long announced = 0)
    {
        RecordingOwner owner;
        owner.announced = announced;
        DownloadFile(AnsiToWide(TestServer::Url(path)), AnsiToWide(target_), &owner);
        EXPECT_EQ(owner.finishedCalls, 1);
        return owner;
    }

    std::string target_;
};

TEST_F(DownloadFileTest, ExactLengthIsCompleteAndProgressIsOneHundred)
{
    const std::string bytes = Package(1000);
    TestServer::WritePackage("p1000.exe", bytes);
    RecordingOwner owner = Download("/packages/p1000.exe");
    EXPECT_TRUE(owner.complete);
    EXPECT_EQ(owner.progress, std::vector<int>{100});
    EXPECT_EQ(ReadFile(target_), bytes);
}

TEST_F(DownloadFileTest, MillionBytesReportRisingPercentages)
{
    const std::string bytes = Package(1000000);
    TestServer::WritePackage("p1m.exe", bytes);
    RecordingOwner owner = Download("/packages/p1m.exe");
    EXPECT_TRUE(owner.complete);
    ASSERT_FALSE(owner.progress.empty());
    EXPECT_EQ(owner.progress.front(), 0);
    EXPECT_EQ(owner.progress.back(), 100);
    for (size_t i = 1; i < owner.progress.size(); ++i)
        ASSERT_LE(owner.progress[i - 1], owner.progress[i]) << "at report " << i;
    EXPECT_EQ(ReadFile(target_), bytes);
}

// The package's folder is new, so anything at the name was put there by
// someone else: neither it nor a file it links to is written or removed.
TEST_F(DownloadFileTest, AnythingAtTheNameIsLeftAlone)
{
    TestServer::WritePackage("small.exe", "new");
    const std::string outside = TestServer::Dir() + "outside.txt";
    for (const bool link : {false, true}) {
        DeleteFileA(target_.c_str());
        std::ofstream(link ? outside : target_, std::ios::binary) << std::string(5000, 'o');
        if (link) {
            ASSERT_TRUE(CreateHardLinkA(target_.c_str(), outside.c_str(), nullptr));
        }
        EXPECT_FALSE(Download("/packages/small.exe").complete) << link;
        EXPECT_EQ(ReadFile(target_), std::string(5000, 'o')) << link;
        EXPECT_EQ(ReadFile(outside), link ? std::string(5000, 'o') : std::string()) << link;
    }
    DeleteFileA(outside.c_str());
}

TEST_F(DownloadFileTest, QueryStringIsNotRequested)
{
    TestServer::WritePackage("q.exe", "query-less");
    RecordingOwner owner = Download("/packages/q.exe?token=abc&x=1");
    EXPECT_TRUE(owner.complete);
    EXPECT_EQ(ReadFile(target_), "query-less");
    // What the server was asked for, request by request.
    std::vector<std::string> asked;
    for (const Json::Value& record : TestServer::LogRecords())
        if (record.isMember("method") && record["path"].asString().find("q.exe") != std::string::npos)
            asked.push_back(record["method"].asString() + " " + record["path"].asString());
    EXPECT_EQ(asked, (std::vector<std::string>{"HEAD /packages/q.exe", "GET /packages/q.exe"}));
}

TEST_F(DownloadFileTest, DroppedConnectionIsIncompleteAndLeavesNoFile)
{
    TestServer::WritePackage("drop.exe", Package(50000));
    // Every body breaks off, and the server does not continue one.
    RecordingOwner owner = Download("/fault/no-range/fault/drop-after/20000/packages/drop.exe");
    EXPECT_FALSE(owner.complete);
    EXPECT_FALSE(FileExists(target_));
}

// Without an announced length only the connection's orderly end ends the
// body: a read that fails after some bytes (here a receive time-out) is a
// broken download. (Wine reports a reset after data as an orderly end, so
// the reset case can only be shown on Windows.)
TEST_F(DownloadFileTest, BrokenBodyWithoutLengthIsIncompleteAndLeavesNoFile)
{
    TestServer::WritePackage("cut.exe", Package(20000));
    RecordingOwner owner = Download("/fault/no-length/fault/stall-after/5000/packages/cut.exe");
    EXPECT_FALSE(owner.complete);
    EXPECT_FALSE(FileExists(target_));
}

TEST_F(DownloadFileTest, FailureBeforeWritingLeavesAnExistingFileAlone)
{
    TestServer::WritePackage("differ.exe", Package(3000));
    std::ofstream(target_, std::ios::binary) << "not ours";
    // HEAD and GET announce different lengths: refused before the file is opened.
    EXPECT_FALSE(Download("/fault/head-length/7/packages/differ.exe").complete);
    EXPECT_EQ(ReadFile(target_), "not ours");
}

// The transfer stops at once instead of counting bytes it cannot keep; the
// outcome is the same: incomplete, nothing to start.
TEST_F(DownloadFileTest, TargetThatCannotBeCreatedIsIncomplete)
{
    TestServer::WritePackage("nowhere.exe", "bytes");
    RecordingOwner owner;
    DownloadFile(AnsiToWide(TestServer::Url("/packages/nowhere.exe")),
                 AnsiToWide(TestServer::Dir() + "missing-folder\\nowhere.exe"), &owner);
    EXPECT_EQ(owner.finishedCalls, 1);
    EXPECT_FALSE(owner.complete);
}

// Bytes the server sent for bodies of `package`, once every request for it
// has been answered.
size_t BytesSent(const std::string& package)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(20)) {
        size_t gets = 0, bodies = 0, sent = 0;
        for (const Json::Value& record : TestServer::LogRecords()) {
            if (record["path"].asString().find(package) == std::string::npos)
                continue;
            if (record["method"].asString() == "GET")
                ++gets;
            if (record.isMember("sent")) {
                ++bodies;
                sent += record["sent"].asUInt64();
            }
        }
        if (gets > 0 && gets == bodies)
            return sent;
    }
    return 0;
}

// What the first request after a break asked for: "tag" or "date" in
// If-Range with its Range, "range" alone, or "whole" (no Range).
std::string FirstResume(const std::string& package)
{
    int gets = 0;
    for (const Json::Value& record : TestServer::LogRecords()) {
        if (record["method"].asString() != "GET" || record["path"].asString().find(package) == std::string::npos ||
            ++gets < 2)
            continue;
        if (!record.isMember("range"))
            return "whole";
        const std::string ifRange = record["ifRange"].asString();
        return ifRange.empty() ? "range" : ifRange[0] == '"' ? "tag" : "date";
    }
    return "none";
}

// The other version of a package that the server's "switch" serves.
std::string Switched(std::string bytes)
{
    for (char& c : bytes)
        c = char(c ^ 0xFF);
    return bytes;
}

// A body broken off in the middle goes on from the bytes on disk, from the
// same version only: the resume names the first answer's validator, and a
// server whose package changed sends the new one whole, which is read from
// the start. Without a validator it goes on only when the whole file will
// be checked. A server that ignores ranges sends the whole package again,
// which is read once more, and one that answers with another range, or with
// the rest of another version, is asked for the whole package.
TEST_F(DownloadFileTest, BrokenTransferResumesOrStartsOver)
{
    enum class Ends { Same, Switched, Stitched };
    const struct {
        const char* name;
        const char* faults;
        size_t size;
        bool checksWholeFile;
        const char* resume;
        int restarts;
        Ends file;
    } cases[] = {
        {"resume.exe", "/fault/cut/7000000x2", 20u << 20, false, "tag", 0, Ends::Same},
        {"norange.exe", "/fault/no-range/fault/cut/1000000", 3u << 20, false, "tag", 1, Ends::Same},
        {"shifted.exe", "/fault/shift-range/1000/fault/cut/1000000", 3u << 20, false, "tag", 1, Ends::Same},
        {"switched.exe", "/fault/switch/0/fault/cut/1000000", 3u << 20, false, "tag", 1, Ends::Switched},
        {"weaktag.exe", "/fault/weak-etag/fault/switch/0/fault/cut/1000000", 3u << 20, false, "date", 1,
         Ends::Switched},
        {"ignored.exe", "/fault/ignore-if-range/fault/switch/0/fault/cut/1000000", 3u << 20, false, "tag", 1,
         Ends::Switched},
        {"unvalidated.exe", "/fault/no-validators/fault/switch/0/fault/cut/1000000", 3u << 20, false, "whole", 1,
         Ends::Switched},
        // The check at the start refuses this file.
        {"checked.exe", "/fault/no-validators/fault/switch/0/fault/cut/1000000", 3u << 20, true, "range", 0,
         Ends::Stitched},
    };
    for (const auto& c : cases) {
        DeleteFileA(target_.c_str()); // the file is made new
        const std::string bytes = Package(c.size);
        TestServer::WritePackage(c.name, bytes);
        RecordingOwner owner;
        owner.checksWholeFile = c.checksWholeFile;
        DownloadFile(AnsiToWide(TestServer::Url(std::string(c.faults) + "/packages/" + c.name)), AnsiToWide(target_),
                     &owner);
        EXPECT_TRUE(owner.complete) << c.name;
        EXPECT_EQ(FirstResume(c.name), c.resume) << c.name;
        EXPECT_EQ(owner.restarts, c.restarts) << c.name;
        EXPECT_EQ(owner.bytes, bytes.size()) << c.name;
        const std::string expected = c.file == Ends::Same ? bytes
                                     : c.file == Ends::Switched
                                         ? Switched(bytes)
                                         : bytes.substr(0, 1000000) + Switched(bytes).substr(1000000);
        EXPECT_TRUE(ReadFile(target_) == expected) << c.name << ": the file is the package, byte for byte";
        for (size_t i = 1; c.restarts == 0 && i < owner.progress.size(); ++i)
            ASSERT_LE(owner.progress[i - 1], owner.progress[i]) << "progress goes on from where it was";
    }
    // The package cut twice went over the wire a little more than once.
    const size_t sent = BytesSent("resume.exe");
    EXPECT_GE(sent, size_t(20) << 20);
    EXPECT_LT(sent, size_t(21) << 20);
}

TEST_F(DownloadFileTest, OneByteShortIsIncomplete)
{
    TestServer::WritePackage("short.exe", Package(3000));
    EXPECT_FALSE(Download("/fault/no-range/fault/drop-after/2999/packages/short.exe").complete);
}

TEST_F(DownloadFileTest, LengthAnnouncedTooLongIsIncomplete)
{
    TestServer::WritePackage("long.exe", Package(3000));
    EXPECT_FALSE(Download("/fault/wrong-length/1/packages/long.exe").complete);
}

// Endless bodies with a length of several gigabytes: read as 64 bits, and
// above the cap whether announced in the offer or not; an offer of such a
// size is refused before anything is asked for.
TEST_F(DownloadFileTest, PackagesAboveTheCapAreRefused)
{
    const struct {
        const char* name;
        const char* faults;
        unsigned long long announced;
        bool asked;
    } cases[] = {
        {"hugelength.exe", "/fault/wrong-length/5000000000/fault/endless", 0, true},
        {"hugeoffer.exe", "/fault/length/5000000000/fault/endless", 5000000000ull, false},
    };
    for (const auto& c : cases) {
        DeleteFileA(target_.c_str()); // the file is made new
        TestServer::WritePackage(c.name, Package(3000));
        RecordingOwner owner = Download(std::string(c.faults) + "/packages/" + c.name, c.announced);
        EXPECT_FALSE(owner.complete) << c.name;
        EXPECT_EQ(owner.bytes, 0u) << c.name;
        EXPECT_FALSE(FileExists(target_)) << c.name;
        bool asked = false;
        for (const Json::Value& record : TestServer::LogRecords())
            asked = asked || record["path"].asString().find(c.name) != std::string::npos;
        EXPECT_EQ(asked, c.asked) << c.name;
    }
}

TEST_F(DownloadFileTest, NoContentLengthReadsToTheEnd)
{
    const std::string bytes = Package(4500);
    TestServer::WritePackage("nolen.exe", bytes);
    RecordingOwner owner = Download("/fault/no-length/packages/nolen.exe");
    EXPECT_TRUE(owner.complete);
    EXPECT_EQ(ReadFile(target_), bytes);
}

// An owner that cannot check a body without a length refuses it before a
// byte is written; a body with one it takes as always.
TEST_F(DownloadFileTest, BodyWithoutLengthIsTakenOnlyWhenTheOwnerCanCheckIt)
{
    const std::string bytes = Package(4500);
    TestServer::WritePackage("unchecked.exe", bytes);
    const struct {
        const char* faults;
        bool complete;
    } cases[] = {{"/fault/no-length", false}, {"", true}};
    for (const auto& c : cases) {
        DeleteFileA(target_.c_str()); // the file is made new
        RecordingOwner owner;
        owner.takesBodyWithoutLength = false;
        DownloadFile(AnsiToWide(TestServer::Url(std::string(c.faults) + "/packages/unchecked.exe")),
                     AnsiToWide(target_), &owner);
        EXPECT_EQ(owner.complete, c.complete) << c.faults;
        EXPECT_EQ(owner.bytes, c.complete ? bytes.size() : 0u) << c.faults;
        EXPECT_EQ(FileExists(target_), c.complete) << c.faults;
    }
}

TEST_F(DownloadFileTest, EmptyBodyIsNeverComplete)
{
    TestServer::WritePackage("empty.exe", "");
    EXPECT_FALSE(Download("/packages/empty.exe").complete);
    EXPECT_FALSE(Download("/fault/no-length/packages/empty.exe").complete);
}

TEST_F(DownloadFileTest, ErrorPagesAreNotPackages)
{
    EXPECT_FALSE(Download("/packages/missing.exe").complete);
    EXPECT_FALSE(Download("/fault/500/packages/any.exe").complete);
    EXPECT_FALSE(FileExists(target_));
}

TEST_F(DownloadFileTest, UnreachableServerIsIncomplete)
{
    RecordingOwner owner;
    DownloadFile(L"http://127.0.0.1:9/p.exe", AnsiToWide(target_), &owner);
    EXPECT_EQ(owner.finishedCalls, 1);
    EXPECT_FALSE(owner.complete);
}

TEST_F(DownloadFileTest, StalledServerEndsWithinTheTimeOut)
{
    TestServer::WritePackage("stall.exe", "x");
    DWORD start = GetTickCount();
    RecordingOwner owner = Download("/fault/stall/packages/stall.exe");
    DWORD took = GetTickCount() - start;
    EXPECT_FALSE(owner.complete);
    // HEAD and GET may each wait for one receive time-out.
    EXPECT_LT(took, DWORD(2 * (kHttpSendTimeoutMs + kHttpReceiveTimeoutMs) + 5000));
}

TEST_F(DownloadFileTest, HttpsAddressAsksForTls)
{
    // The plain-HTTP test server cannot complete a TLS handshake: the
    // download must fail instead of talking plain HTTP.
    TestServer::WritePackage("tls.exe", "tls");
    RecordingOwner owner;
    DownloadFile(AnsiToWide("https://" + TestServer::Address() + "/packages/tls.exe"), AnsiToWide(target_), &owner);
    EXPECT_FALSE(owner.complete);
}

} // namespace
