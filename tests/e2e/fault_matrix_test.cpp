// What a server, the network or the local disk can do to the real updater,
// one row per fault. Every row: no crash, the window stays until it is
// closed, the process then ends in time with exit code 0, and either nothing
// was started and the temporary folder is left as it was, or the whole,
// verified package was started exactly once, from a folder of its own that
// holds nothing else, and that folder is all the updater added.
// Every offer names the real package, so an answer or a download wrongly
// taken for good shows as a start.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "test_server.h"
#include "updater_process.h"

namespace {

using namespace e2e;

enum class Outcome { NothingStarted, StartedOnce };

// What the test does to the machine before the updater starts.
// SameNameHeld: another program holds a file of the package's name in the
// temporary folder itself. LeftByEarlierRuns: package folders of earlier
// runs, one of them still in use, and a folder of the user's named alike.
enum class Local { None, TempMissing, TempIsAFile, SameNameHeld, LeftByEarlierRuns };

// When the window is closed: once the updater has settled (its buttons
// answer again), while its download waits on a silent server, or once the
// download has let go of the whole file, as the check reads it.
enum class Close { WhenSettled, WhileWaiting, WhileChecking };

// What a few rows change about the offer or check besides.
enum class Extra {
    None,
    NoMd5,           // the offer names no MD5
    AnswerBound,     // the server wrote far less of the update answer than it had
    ShortRateWindow, // the download's rate is taken over kShortRateWindow
};

// The package served: the stand-in installer; the same followed by 64 KiB
// of zeros, which the server's "switch" turns into another runnable release;
// or the same followed by kLargePadding zeros, whose check takes seconds:
// that row runs the build with a vendor key, which takes a SHA-256 besides
// the MD5 (nothing is signed, so a check that ran to its end starts nothing
// either; the close must not wait for it, nor leave the file behind).
enum class Package { Installer, Switchable, Large };

struct Row {
    const char* name;
    // FERNCASTLE_UPDATE_SERVER; "{server}" stands for the test server's HOST:PORT.
    const char* server;
    // The package's address; "{server}" as above, "{port}" for its port,
    // "{package}" for its name.
    // Empty: the server's own address of the package.
    const char* packageUrl;
    long long announcedSize; // negative: the package's real size
    Local local;
    Close close;
    double settleSeconds; // from the window's appearance until the row has settled
    double closeSeconds;  // from WM_CLOSE until the process has ended
    const char* userSees;
    Outcome outcome;
    Extra extra = Extra::None;
    Package package = Package::Installer;
    // The identity the server presents over TLS (tests/tls); the test CA,
    // which signed all but "other-ca", is trusted. Such rows name the server
    // "localhost": Wine matches no IP address in a certificate.
    const char* tls = nullptr;
};

// A failing row is named, not dumped as bytes.
void PrintTo(const Row& row, std::ostream* out)
{
    *out << row.name;
}

const char kServer[] = "{server}";
const char kOwn[] = "";
const long long kReal = -1;
const long long kNone = 0;
const long long kSeveralGigabytes = 5000000000LL;
const double kCheckSeconds = 4; // kUpdateCheckDeadlineMs of the test configuration
const wchar_t kLongWait[] = L"30000";
const wchar_t kShortRateWindow[] = L"6000";
const size_t kSwitchablePadding = 64 * 1024;
const size_t kLargePadding = size_t(1) << 30;

// clang-format off
const Row kRows[] = {
    // The update query. The window stays idle at its start state.
    {"QueryRefused", "127.0.0.1:1", kOwn, kReal, Local::None, Close::WhenSettled, 20, 10,
     "no progress bar", Outcome::NothingStarted},
    {"QueryStallsBeforeHeaders", "{server}/fault/stall", kOwn, kReal, Local::None, Close::WhenSettled, 20, 10,
     "a window that answers after the time-out, no progress bar", Outcome::NothingStarted},
    {"QueryStallsInBody", "{server}/fault/stall-after/20", kOwn, kReal, Local::None, Close::WhenSettled, 20, 10,
     "a window that answers after the time-out, no progress bar", Outcome::NothingStarted},
    {"QueryResetInBody", "{server}/fault/reset-after/20", kOwn, kReal, Local::None, Close::WhenSettled, 20, 10,
     "no progress bar", Outcome::NothingStarted},
    {"QueryClosedUnanswered", "{server}/fault/no-answer", kOwn, kReal, Local::None, Close::WhenSettled, 20, 10,
     "no progress bar", Outcome::NothingStarted},
    {"Query500HtmlPage", "{server}/fault/500", kOwn, kReal, Local::None, Close::WhenSettled, 20, 10,
     "no progress bar", Outcome::NothingStarted},
    {"Query404WithAnOffer", "{server}/fault/404/fault/offer-body", kOwn, kReal, Local::None, Close::WhenSettled, 20,
     10, "no progress bar", Outcome::NothingStarted},
    {"QueryMalformedJson", "{server}/fault/malformed-json", kOwn, kReal, Local::None, Close::WhenSettled, 20, 10,
     "no progress bar", Outcome::NothingStarted},
    {"QueryMembersOfWrongType", "{server}/fault/wrong-types", kOwn, kReal, Local::None, Close::WhenSettled, 20, 10,
     "no progress bar", Outcome::NothingStarted},
    {"QueryAnswerOf50MB", "{server}/fault/pad-answer/52428800", kOwn, kReal, Local::None, Close::WhenSettled, 30, 10,
     "no progress bar", Outcome::NothingStarted, Extra::AnswerBound},
    {"QueryAnswerWithoutEnd", "{server}/fault/no-length/fault/endless", kOwn, kReal, Local::None,
     Close::WhenSettled, 30, 10, "no progress bar", Outcome::NothingStarted},
    {"QueryTrickles", "{server}/fault/trickle/500", kOwn, kReal, Local::None, Close::WhenSettled, 20, 10,
     "a window that answers after the check's deadline, no progress bar", Outcome::NothingStarted},
    {"QueryHeadersTrickle", "{server}/fault/trickle-headers/500", kOwn, kReal, Local::None, Close::WhenSettled, 20,
     10, "a window that answers after the check's deadline, no progress bar", Outcome::NothingStarted},
    {"QueryNestedTooDeep", "{server}/fault/deep-answer", kOwn, kReal, Local::None, Close::WhenSettled, 20, 10,
     "no progress bar", Outcome::NothingStarted},
    {"QueryRedirectLoop", "{server}/fault/redirect", kOwn, kReal, Local::None, Close::WhenSettled, 20, 10,
     "no progress bar", Outcome::NothingStarted},
    {"QueryHttpsAgainstPlainServer", "https://{server}", kOwn, kReal, Local::None, Close::WhenSettled, 20, 10,
     "no progress bar", Outcome::NothingStarted},
    // The query's historical leniency: an expired certificate is accepted
    // (the package, over plain HTTP here, is what is checked).
    {"QueryOverTlsWithAnExpiredCertificate", "https://localhost:{port}", "http://{server}/packages/{package}", kReal,
     Local::None, Close::WhenSettled, 20, 10, "the whole bar", Outcome::StartedOnce, Extra::None, Package::Installer,
     "expired"},

    // The package. A refused one leaves the bar where it stopped.
    {"PackageWhole", kServer, kOwn, kReal, Local::None, Close::WhenSettled, 30, 10,
     "the bar at 100%, the installer starts", Outcome::StartedOnce},
    {"HeadUnansweredGetWorks", kServer, "{server}/fault/head-fail/packages/{package}", kReal, Local::None,
     Close::WhenSettled, 30, 10, "the bar at 100%, the installer starts", Outcome::StartedOnce},
    {"Head500GetWorks", kServer, "{server}/fault/head-500/packages/{package}", kReal, Local::None,
     Close::WhenSettled, 30, 10, "the bar at 100%, the installer starts", Outcome::StartedOnce},
    {"NoLengthWholeBody", kServer, "{server}/fault/no-length/packages/{package}", kReal, Local::None,
     Close::WhenSettled, 30, 10, "the bar at 100%, the installer starts", Outcome::StartedOnce},
    {"NoLengthEndlessBody", kServer, "{server}/fault/no-length/fault/endless/packages/{package}", kReal,
     Local::None, Close::WhenSettled, 30, 10, "a bar that stays at its start", Outcome::NothingStarted},
    {"NoLengthResetInBody", kServer, "{server}/fault/no-length/fault/reset-after/5000/packages/{package}", kReal,
     Local::None, Close::WhenSettled, 30, 10, "a bar that stops", Outcome::NothingStarted},
    {"NoLengthResetNothingAnnounced", kServer,
     "{server}/fault/no-length/fault/overlay/65536/fault/reset-after/{size}/packages/{package}", kNone, Local::None,
     Close::WhenSettled, 30, 10, "a bar that stays at its start", Outcome::NothingStarted, Extra::NoMd5},
    {"BodyCutOnceIsResumed", kServer, "{server}/fault/cut/5000/packages/{package}", kReal, Local::None,
     Close::WhenSettled, 30, 10, "the bar pauses, then 100%, the installer starts", Outcome::StartedOnce},
    {"BodyCutOnceWithoutRangesIsFetchedAgain", kServer, "{server}/fault/cut/5000/fault/no-range/packages/{package}",
     kReal, Local::None, Close::WhenSettled, 30, 10, "the bar pauses, restarts, 100%, the installer starts",
     Outcome::StartedOnce},
    // A release replaced behind the server between the first request and
    // the resume, cut in the middle of the part that differs: the file is
    // never stitched from both.
    {"ResumeAcrossAReplacedRelease", kServer,
     "{server}/fault/switch/{installer}/fault/cut/{middle}/packages/{package}", kReal, Local::None,
     Close::WhenSettled, 30, 10, "the bar pauses, restarts, 100%, the new release starts", Outcome::StartedOnce,
     Extra::NoMd5, Package::Switchable},
    {"ResumeWithoutValidatorsAcrossAReplacedRelease", kServer,
     "{server}/fault/no-validators/fault/switch/{installer}/fault/cut/{middle}/packages/{package}", kReal,
     Local::None, Close::WhenSettled, 30, 10, "the bar pauses, restarts, 100%, the new release starts",
     Outcome::StartedOnce, Extra::NoMd5, Package::Switchable},
    {"StitchedResumeIsCaughtByTheMd5", kServer,
     "{server}/fault/no-validators/fault/switch/{installer}/fault/cut/{middle}/packages/{package}", kReal,
     Local::None, Close::WhenSettled, 30, 10, "the bar pauses, then 100%, nothing starts", Outcome::NothingStarted,
     Extra::None, Package::Switchable},
    {"TrickleBelowTheRate", kServer, "{server}/fault/trickle/100/packages/{package}", kReal, Local::None,
     Close::WhenSettled, 11, 10, "a bar that stops within the rate's window", Outcome::NothingStarted,
     Extra::ShortRateWindow},
    {"LengthLongerThanBody", kServer, "{server}/fault/wrong-length/100/packages/{package}", kReal, Local::None,
     Close::WhenSettled, 30, 10, "a bar that stops", Outcome::NothingStarted},
    {"LengthShorterThanBody", kServer, "{server}/fault/wrong-length/-100/packages/{package}", kReal, Local::None,
     Close::WhenSettled, 30, 10, "a bar that stops", Outcome::NothingStarted},
    {"HeadAndGetLengthsDiffer", kServer, "{server}/fault/head-length/10/packages/{package}", kReal, Local::None,
     Close::WhenSettled, 30, 10, "a bar that stays at its start", Outcome::NothingStarted},
    {"Package404", kServer, "{server}/fault/404/packages/{package}", kReal, Local::None, Close::WhenSettled, 30, 10,
     "a bar that stays at its start", Outcome::NothingStarted},
    {"Package500", kServer, "{server}/fault/500/packages/{package}", kReal, Local::None, Close::WhenSettled, 30, 10,
     "a bar that stays at its start", Outcome::NothingStarted},
    {"ErrorPageServedAs200", kServer, "{server}/fault/html-200/packages/{package}", kReal, Local::None,
     Close::WhenSettled, 30, 10, "the bar at 100%, nothing starts", Outcome::NothingStarted},
    {"HttpLengthOfSeveralGigabytes", kServer,
     "{server}/fault/wrong-length/5000000000/fault/endless/packages/{package}", kNone, Local::None,
     Close::WhenSettled, 30, 10, "a bar that stays at its start", Outcome::NothingStarted},
    {"AnnouncedSizeOfSeveralGigabytes", kServer, "{server}/fault/length/5000000000/fault/endless/packages/{package}",
     kSeveralGigabytes, Local::None, Close::WhenSettled, 30, 10, "a bar that stays at its start",
     Outcome::NothingStarted},
    {"PackageRedirectLoop", kServer, "{server}/fault/redirect/packages/{package}", kReal, Local::None,
     Close::WhenSettled, 30, 10, "a bar that stays at its start", Outcome::NothingStarted},
    {"PackageHttpsAgainstPlainServer", kServer, "https://{server}/packages/{package}", kReal, Local::None,
     Close::WhenSettled, 30, 10, "a bar that stays at its start", Outcome::NothingStarted},
    {"PackageOverTls", kServer, "https://localhost:{port}/packages/{package}", kReal, Local::None, Close::WhenSettled,
     30, 10, "the whole bar", Outcome::StartedOnce, Extra::None, Package::Installer, "valid"},
    {"PackageOverTlsExpired", kServer, "https://localhost:{port}/packages/{package}", kReal, Local::None,
     Close::WhenSettled, 30, 10, "a bar that stays at its start", Outcome::NothingStarted, Extra::None,
     Package::Installer, "expired"},
    {"PackageOverTlsForAnotherHost", kServer, "https://localhost:{port}/packages/{package}", kReal, Local::None,
     Close::WhenSettled, 30, 10, "a bar that stays at its start", Outcome::NothingStarted, Extra::None,
     Package::Installer, "wrong-host"},
    {"PackageOverTlsFromAnUntrustedCa", kServer, "https://localhost:{port}/packages/{package}", kReal, Local::None,
     Close::WhenSettled, 30, 10, "a bar that stays at its start", Outcome::NothingStarted, Extra::None,
     Package::Installer, "other-ca"},

    // The local disk.
    {"TempFolderMissing", kServer, kOwn, kReal, Local::TempMissing, Close::WhenSettled, 30, 10,
     "no progress bar", Outcome::NothingStarted},
    {"TempFolderIsAFile", kServer, kOwn, kReal, Local::TempIsAFile, Close::WhenSettled, 30, 10,
     "no progress bar", Outcome::NothingStarted},
    {"SameNameHeldInTheTemporaryFolder", kServer, kOwn, kReal, Local::SameNameHeld, Close::WhenSettled, 30, 10,
     "the whole bar", Outcome::StartedOnce},
    {"FoldersLeftByEarlierRuns", kServer, kOwn, kReal, Local::LeftByEarlierRuns, Close::WhenSettled, 30, 10,
     "the whole bar", Outcome::StartedOnce},

    // Closing the window while the download waits on a silent server, with
    // the download's receive time-out at kLongWait: the process ends with its
    // window (which Wine takes 2 s to take off a screen without a window
    // manager), not once the time-out has passed.
    {"ClosedWhilePackageHeadersStall", kServer, "{server}/fault/head-500/fault/stall/packages/{package}", kReal,
     Local::None, Close::WhileWaiting, 30, 8, "the window goes, the process with it", Outcome::NothingStarted},
    {"ClosedWhilePackageBodyStalls", kServer, "{server}/fault/stall-after/100000/packages/{package}", kReal,
     Local::None, Close::WhileWaiting, 30, 8, "the window goes, the process with it", Outcome::NothingStarted},
    // A close while a package of 1 GiB is checked, which takes several
    // seconds: the check stops at once, and the process ends within 1 s of
    // the 2 s Wine takes to take the window off the screen.
    {"ClosedDuringTheCheckOfALargePackage", kServer, kOwn, kReal, Local::None, Close::WhileChecking, 120, 3,
     "the window goes at once, nothing starts", Outcome::NothingStarted, Extra::NoMd5, Package::Large},
};
// clang-format on

std::string Narrow(const std::vector<std::wstring>& names)
{
    std::string text;
    for (const std::wstring& name : names)
        text += std::string(name.begin(), name.end()) + " ";
    return text;
}

class FaultMatrix : public Updater, public ::testing::WithParamInterface<Row> {
protected:
    static std::string Port()
    {
        const std::string server = TestServer::Address();
        return server.substr(server.find(':') + 1);
    }

    static std::string PackageAddress(const char* pattern, const std::string& package, size_t size)
    {
        const size_t installer = InstallerBytes().size();
        const std::string server = TestServer::Address();
        std::string address =
            Fill(Fill(Fill(pattern, "{server}", server), "{package}", package), "{size}", std::to_string(size));
        address = Fill(address, "{port}", Port());
        address = Fill(Fill(address, "{installer}", std::to_string(installer)), "{middle}",
                       std::to_string(installer + kSwitchablePadding / 2));
        return address.find("://") == std::string::npos ? "http://" + address : address;
    }

    // The bytes of the update answer the server wrote before the client
    // went; false until that is logged.
    bool AnswerWritten(size_t& written)
    {
        for (const Json::Value& record : TestServer::LogRecords(logStart)) {
            if (record["path"].asString().find("/upgrade/info") == std::string::npos || !record.isMember("written"))
                continue;
            written = record["written"].asUInt64();
            return true;
        }
        return false;
    }

    // The package's GET, to a server that stalls, has reached it (and, for
    // a body that stalls, the body's first part has come).
    bool DownloadWaiting()
    {
        bool asked = false;
        for (const Json::Value& record : TestServer::LogRecords(logStart))
            asked = asked || (record["method"].asString() == "GET" &&
                              record["path"].asString().find("/fault/stall") != std::string::npos);
        if (!asked)
            return false;
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        const bool bodyStalls = std::string(GetParam().packageUrl).find("stall-after") != std::string::npos;
        return !bodyStalls || (GetFileAttributesExW(PackagePath().c_str(), GetFileExInfoStandard, &data) &&
                               data.nFileSizeLow >= 65536);
    }

    // The download has closed the whole file: nothing writes it any more,
    // and reading it shares with the check, which reads it the same way.
    bool DownloadLetGo(size_t size)
    {
        HANDLE file =
            CreateFileW(PackagePath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        LARGE_INTEGER length = {};
        const bool whole = GetFileSizeEx(file, &length) && size_t(length.QuadPart) == size;
        CloseHandle(file);
        return whole;
    }
};

TEST_P(FaultMatrix, Row)
{
    const Row& row = GetParam();
    SCOPED_TRACE(std::string("the user sees: ") + row.userSees);
    const size_t padding = row.package == Package::Switchable ? kSwitchablePadding
                           : row.package == Package::Large    ? kLargePadding
                                                              : 0;
    const std::string package = InstallerBytes() + std::string(padding, '\0');
    // What the server's "switch" serves after its first answer.
    const std::string switched = InstallerBytes() + std::string(padding, '\xFF');
    const std::string name = channel + ".exe";
    TestServer::WritePackage(name, package);
    Offer(name, row.packageUrl[0] ? PackageAddress(row.packageUrl, name, package.size()) : std::string(),
          row.announcedSize, row.extra != Extra::NoMd5, row.tls);
    if (row.tls) {
        ASSERT_TRUE(TestServer::TrustTestCa());
    }
    SetEnvironmentVariableW(L"FERNCASTLE_UPDATE_SERVER",
                            Wide(Fill(Fill(row.server, "{server}", TestServer::Address()), "{port}", Port())).c_str());

    const std::string kHeld = "another program's file";
    const std::wstring sameName = temp + packageName;
    const std::wstring kBusy = L"FerncastleUpdate-0000000000000002", kUsers = L"FerncastleUpdate-notes";
    // What the row's setup leaves in the temporary folder besides the updater's.
    std::vector<std::wstring> kept;
    HANDLE held = INVALID_HANDLE_VALUE;
    if (row.local == Local::TempMissing) {
        RemoveDirectoryW(temp.c_str());
    } else if (row.local == Local::TempIsAFile) {
        RemoveDirectoryW(temp.c_str());
        std::ofstream(temp.substr(0, temp.size() - 1).c_str()) << kHeld;
    } else if (row.local == Local::SameNameHeld) {
        std::ofstream(sameName.c_str(), std::ios::binary) << kHeld;
        // Shared for writing: an updater that opened it to write would empty it.
        held = CreateFileW(sameName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        kept = {packageName};
    } else if (row.local == Local::LeftByEarlierRuns) {
        for (const std::wstring& name : {std::wstring(L"FerncastleUpdate-0000000000000001"), kBusy, kUsers}) {
            CreateDirectoryW((temp + name).c_str(), nullptr);
            std::ofstream((temp + name + L"\\" + packageName).c_str()) << kHeld;
        }
        // In use, as by an installer still running: it may not be deleted.
        held = CreateFileW((temp + kBusy + L"\\" + packageName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        kept = {kBusy, kUsers};
    }

    // The large package's server reads 1 GiB before it answers, which on a
    // loaded machine takes longer than the test configuration's time-out.
    SetEnvironmentVariableW(L"FERNCASTLE_DOWNLOAD_RECEIVE_TIMEOUT_MS",
                            row.close == Close::WhenSettled ? nullptr : kLongWait);
    SetEnvironmentVariableW(L"FERNCASTLE_DOWNLOAD_RATE_WINDOW_MS",
                            row.extra == Extra::ShortRateWindow ? kShortRateWindow : nullptr);
    if (row.package == Package::Large) {
        ASSERT_TRUE(CopyFileW(Wide(FERNCASTLE_SIGNED_UPDATER).c_str(), exe.c_str(), FALSE));
    }
    HANDLE process = Start();
    ASSERT_NE(process, nullptr);
    HWND window = WaitForWindow();
    ASSERT_NE(window, nullptr);
    // The check, which holds the first paint, ends within its deadline
    // (kCheckSeconds in this configuration) and a second besides.
    if (std::string(row.server) != kServer) {
        EXPECT_TRUE(WaitFor([&] { return HasPainted(window); }, kCheckSeconds + 1))
            << "the check outlasted its deadline";
    }
    if (row.close == Close::WhileWaiting) {
        ASSERT_TRUE(WaitFor([&] { return DownloadWaiting(); }, row.settleSeconds)) << NewLog();
    } else if (row.close == Close::WhileChecking) {
        ASSERT_TRUE(WaitFor([&] { return DownloadLetGo(package.size()); }, row.settleSeconds)) << NewLog();
    } else {
        ASSERT_TRUE(WaitFor([&] { return HasPainted(window); }, row.settleSeconds));
        if (row.outcome == Outcome::StartedOnce) {
            ASSERT_TRUE(WaitFor([&] { return FileExists(installLog); }, row.settleSeconds)) << NewLog();
        }
        ASSERT_TRUE(MinimiseWhenEnabled(window, row.settleSeconds)) << NewLog();
    }
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(WaitForSingleObject(process, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(Ends(process, row.closeSeconds, code))
        << "still running " << row.closeSeconds << " s after the window was closed";
    EXPECT_EQ(code, 0u);
    if (held != INVALID_HANDLE_VALUE)
        CloseHandle(held);
    if (row.extra == Extra::AnswerBound) {
        // Logged once the connection is gone, with the process.
        size_t written = 0;
        ASSERT_TRUE(WaitFor([&] { return AnswerWritten(written); }, 10)) << NewLog();
        EXPECT_LT(written, size_t(16) << 20);
    }

    if (row.tls) {
        // The connection reached the certificate, and a refused one no further.
        bool presented = false, served = false;
        for (const Json::Value& record : TestServer::LogRecords(logStart)) {
            presented = presented || record["tls"].asString() == row.tls;
            served = served || (record["method"].asString() == "GET" &&
                                record["path"].asString().find("/packages/") != std::string::npos);
        }
        EXPECT_TRUE(presented) << NewLog();
        EXPECT_EQ(served, row.outcome == Outcome::StartedOnce) << NewLog();
    }
    const std::string installs = ReadFile(installLog);
    std::vector<std::wstring> added;
    for (const std::wstring& name : FilesIn(temp))
        if (std::find(kept.begin(), kept.end(), name) == kept.end())
            added.push_back(name);
    for (const std::wstring& name : kept)
        EXPECT_EQ(ReadFile(temp + name + (name == packageName ? L"" : L"\\" + packageName)), kHeld) << Narrow({name});
    if (row.outcome == Outcome::StartedOnce) {
        EXPECT_EQ(CountOf(installs, "show="), 1) << installs;
        EXPECT_NE(installs.find(" /S\t"), std::string::npos) << installs;
        ASSERT_EQ(added.size(), 1u) << "left behind: " << Narrow(added);
        const std::vector<std::wstring> folders = PackageFolders();
        ASSERT_NE(std::find(folders.begin(), folders.end(), added[0]), folders.end()) << Narrow(added);
        EXPECT_EQ(FilesIn(temp + added[0] + L"\\"), std::vector<std::wstring>{packageName});
        EXPECT_NE(installs.find("\tcwd=" + std::string(temp.begin(), temp.end()) +
                                std::string(added[0].begin(), added[0].end())),
                  std::string::npos)
            << "started in its own folder: " << installs;
        EXPECT_TRUE(ReadFile(temp + added[0] + L"\\" + packageName) ==
                    (row.package == Package::Switchable ? switched : package))
            << "the whole package, of one release";
        return;
    }
    EXPECT_EQ(CountOf(installs, "show="), 0) << installs;
    switch (row.local) {
    case Local::TempMissing:
        EXPECT_FALSE(FileExists(temp));
        break;
    case Local::TempIsAFile:
        EXPECT_EQ(ReadFile(temp.substr(0, temp.size() - 1)), kHeld);
        break;
    default:
        // A download held up when the process ended leaves its emptied
        // folder to the next start; any other leaves nothing.
        if (row.close == Close::WhileWaiting) {
            EXPECT_EQ(added, PackageFolders()) << "left behind: " << Narrow(added);
            for (const std::wstring& name : added)
                EXPECT_TRUE(FilesIn(temp + name + L"\\").empty()) << Narrow({name});
        } else {
            EXPECT_TRUE(added.empty()) << "left behind: " << Narrow(added);
        }
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultMatrix, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

} // namespace
