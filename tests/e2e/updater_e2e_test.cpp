// The real updater end to end: no update, a verified silent start, refused
// packages, closing during a stall, the bar on screen, single instance.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "test_server.h"
#include "test_signer.h"
#include "updater_process.h"

namespace {

using namespace e2e;

// Beside it, in its folder, which is also its current one, lies a planted
// msimg32.dll, a library the window loads to draw: it must not be loaded.
// (The test runs with Wine told to prefer a native msimg32 to its own, as
// Windows takes the first it finds.)
TEST_F(Updater, NoUpdateAsksOnceAndItsButtonsMinimiseAndClose)
{
    OfferNothing();
    ASSERT_TRUE(CopyFileW(Wide(FERNCASTLE_PLANTED_LIBRARY).c_str(), (folder + L"msimg32.dll").c_str(), FALSE));
    const std::wstring plantedLog = folder + L"planted.log";
    SetEnvironmentVariableW(L"FERNCASTLE_PLANTED_LOG", plantedLog.c_str());
    HANDLE process = Start();
    SetEnvironmentVariableW(L"FERNCASTLE_PLANTED_LOG", nullptr);
    ASSERT_NE(process, nullptr);
    HWND window = WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForCheck(window));
    ASSERT_TRUE(WaitFor([&] { return HasPainted(window); }, 10));
    EXPECT_FALSE(WaitFor([&] { return FileExists(plantedLog); }, 2))
        << "the library planted beside the updater was loaded";
    EXPECT_EQ(Queries(), 1);
    EXPECT_EQ(CountOf(NewLog(), "\"signatureOk\": true"), 1);
    EXPECT_EQ(PackageRequests(), 0);

    RECT rc = {};
    GetClientRect(window, &rc);
    EXPECT_EQ(rc.right - rc.left, 380);
    EXPECT_EQ(rc.bottom - rc.top, 240);

    // The window opens with no focused control: Return and Escape change
    // nothing, even after a repaint. The minimising click queued behind
    // them shows they were handled.
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    InvalidateRect(window, nullptr, FALSE);
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(MinimiseWhenEnabled(window, 10));
    // Restored through its queue too, behind any close those keys asked for.
    PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsIconic(window); }, 10));
    ASSERT_TRUE(IsWindow(window)) << "Return before Tab closed it";
    ASSERT_TRUE(WaitFor([&] { return HasPainted(window); }, 10)) << "laid out again, so Tab moves at once";
    // Tab gives "CloseNormal" the focus; Return presses it.
    PostMessageW(window, WM_KEYDOWN, VK_TAB, 0);
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    DWORD code = 99;
    ASSERT_TRUE(Ends(process, 15, code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(PackageRequests(), 0);
}

TEST_F(Updater, OfferedPackageIsStartedOnceSilentlyAndTheWindowStays)
{
    TestServer::WritePackage("good.exe", InstallerBytes());
    Offer("good.exe");
    HANDLE process = Start();
    ASSERT_NE(process, nullptr);
    HWND window = WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitFor([&] { return ReadFile(installLog).find("show=") != std::string::npos; }, 30)) << NewLog();
    ASSERT_TRUE(MinimiseWhenEnabled(window, 20));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(WaitForSingleObject(process, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(Ends(process, 15, code));
    EXPECT_EQ(code, 0u);
    const std::string log = ReadFile(installLog);
    std::string expected = "Ferncastle_" FERNCASTLE_UPDATER_VERSION "_" + channel + ".exe\" /S\tshow=5";
    EXPECT_EQ(CountOf(log, "show="), 1) << log;
    EXPECT_NE(log.find(expected), std::string::npos) << log;
    EXPECT_NE(log.find("\\" + channel + "\\temp\\"), std::string::npos) << log;
}

class RefusedPackage : public Updater {
protected:
    // Offers "announced.exe" but serves what `url` gives; the download must
    // end without a launch, with the file gone and the buttons enabled.
    void ExpectRefused(const std::string& url)
    {
        TestServer::WritePackage("announced.exe", InstallerBytes());
        Offer("announced.exe", url);
        HANDLE process = Start();
        ASSERT_NE(process, nullptr);
        HWND window = WaitForWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(WaitFor([&] { return PackageRequests() >= 1; }, 30)) << NewLog();
        ASSERT_TRUE(MinimiseWhenEnabled(window, 40)) << NewLog();
        EXPECT_TRUE(PackageFolders().empty()) << "neither the file nor its folder stays";
        EXPECT_TRUE(IsWindow(window));
        PostMessageW(window, WM_CLOSE, 0, 0);
        DWORD code = 99;
        ASSERT_TRUE(Ends(process, 15, code));
        EXPECT_EQ(code, 0u);
        EXPECT_FALSE(FileExists(installLog)) << ReadFile(installLog);
        EXPECT_TRUE(PackageFolders().empty());
    }
};

TEST_F(RefusedPackage, OtherBytesOfTheAnnouncedSize)
{
    std::string other = InstallerBytes();
    other[other.size() / 2] ^= 0x55;
    TestServer::WritePackage("other.exe", other);
    ExpectRefused(TestServer::Url("/packages/other.exe"));
}

TEST_F(RefusedPackage, ALongerFile)
{
    TestServer::WritePackage("longer.exe", InstallerBytes() + "tail");
    ExpectRefused(TestServer::Url("/packages/longer.exe"));
}

TEST_F(RefusedPackage, DroppedConnection)
{
    ExpectRefused(TestServer::Url("/fault/drop-after/4000/packages/announced.exe"));
}

TEST_F(RefusedPackage, NotFound)
{
    ExpectRefused(TestServer::Url("/fault/404/packages/announced.exe"));
}

TEST_F(Updater, ClosingDuringAStalledDownloadEndsPromptly)
{
    TestServer::WritePackage("stalled.exe", InstallerBytes());
    Offer("stalled.exe", TestServer::Url("/fault/stall-after/20000/packages/stalled.exe"));
    HANDLE process = Start();
    ASSERT_NE(process, nullptr);
    HWND window = WaitForWindow();
    ASSERT_NE(window, nullptr);
    // The body has begun and stopped.
    ASSERT_TRUE(WaitFor(
        [&] {
            WIN32_FILE_ATTRIBUTE_DATA data = {};
            return GetFileAttributesExW(PackagePath().c_str(), GetFileExInfoStandard, &data) &&
                   data.nFileSizeLow >= 16384;
        },
        30));
    const auto closed = Clock::now();
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(Ends(process, 10, code));
    // Within the receive time-out (2 s in this configuration) and Wine's slack.
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - closed).count(), 8.0);
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(FileExists(installLog));
    // The file went with the process; its folder goes at the next start.
    EXPECT_FALSE(FileExists(PackagePath()));
}

// Columns of the progress bar's middle row, from the window's pixels on
// screen, that differ from the bar's unfilled end.
int FilledColumns(HWND window)
{
    const int left = 16, right = 364, row = 224;
    HDC screen = GetDC(window);
    const COLORREF empty = GetPixel(screen, right - 10, row);
    int filled = 0;
    for (int x = left; x < right; ++x) {
        const COLORREF c = GetPixel(screen, x, row);
        const int diff = std::abs(GetRValue(c) - GetRValue(empty)) + std::abs(GetGValue(c) - GetGValue(empty)) +
                         std::abs(GetBValue(c) - GetBValue(empty));
        if (diff > 40)
            ++filled;
    }
    ReleaseDC(window, screen);
    return filled;
}

TEST_F(Updater, HeldDownloadShowsTheBarFilledToItsPercentage)
{
    const std::string bytes = InstallerBytes();
    const size_t held = bytes.size() / 2;
    TestServer::WritePackage("held.exe", bytes);
    Offer("held.exe", TestServer::Url("/fault/stall-after/" + std::to_string(held) + "/packages/held.exe"));
    HANDLE process = Start();
    ASSERT_NE(process, nullptr);
    HWND window = WaitForWindow();
    ASSERT_NE(window, nullptr);
    const int percent = static_cast<int>(static_cast<float>(held * 100.0 / bytes.size()));
    const int expected = 348 * percent / 100;
    int filled = -1;
    EXPECT_TRUE(WaitFor(
        [&] {
            filled = FilledColumns(window);
            return std::abs(filled - expected) <= 6;
        },
        20))
        << "filled " << filled << " of 348 columns, expected about " << expected << " (" << percent << "%)";
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(Ends(process, 15, code));
    EXPECT_EQ(code, 0u);
}

TEST_F(Updater, SecondStartRaisesTheFirstWindowAndExits)
{
    OfferNothing();
    HANDLE first = Start();
    ASSERT_NE(first, nullptr);
    HWND window = WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForCheck(window));
    EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    HANDLE second = Start();
    ASSERT_NE(second, nullptr);
    DWORD code = 99;
    ASSERT_TRUE(Ends(second, 15, code));
    EXPECT_EQ(code, 0u);
    EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(Queries(), 1);
    EXPECT_EQ(FindWindowExW(nullptr, window, kUpdaterWindowClass, nullptr), nullptr);

    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Ends(first, 15, code));
    EXPECT_EQ(code, 0u);
}

TEST_F(Updater, StartWhileOnlyTheMutexIsHeldExitsAtOnce)
{
    OfferNothing();
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "_tovira_update_mutex_ferncastle");
    ASSERT_NE(mutex, nullptr);
    HANDLE process = Start();
    DWORD code = 99;
    const bool ended = process && Ends(process, 15, code);
    CloseHandle(mutex);
    ASSERT_TRUE(ended);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(Queries(), 0);
    EXPECT_EQ(FindWindowW(kUpdaterWindowClass, nullptr), nullptr);
}

// The build that carries the test vendor key: an offer is started only when
// its "fileSig" verifies over the downloaded file, the product and channel
// the updater asked for and the offered version, and that version is no
// lower than the highest it started. Its product is its own, and its
// rollback record is cleared before and after.
class SignedUpdater : public Updater {
protected:
    void SetUp() override
    {
        appId = "FerncastleE2ESigned";
        RegDeleteTreeA(HKEY_CURRENT_USER, RecordKey().c_str());
        Updater::SetUp();
        ASSERT_TRUE(CopyFileW(Wide(FERNCASTLE_SIGNED_UPDATER).c_str(), exe.c_str(), FALSE));
    }
    void TearDown() override
    {
        Updater::TearDown();
        RegDeleteTreeA(HKEY_CURRENT_USER, RecordKey().c_str());
    }
    std::string RecordKey() const { return "Software\\Ferncastle\\Updater\\" + appId; }

    // Offers `package` as `version` with `fileSig`, or with none when empty.
    void OfferSigned(const std::string& package, const std::string& version, const std::string& fileSig)
    {
        Json::Value release = Release(package);
        release["latestVersion"] = version;
        if (!fileSig.empty())
            release["fileSig"] = fileSig;
        WriteCatalogueOf(release);
    }

    // Whether the server sent all `size` bytes of `path` in one answer since
    // log line `from`, so that a refusal is not a failed download.
    static bool SentWhole(size_t from, const std::string& path, size_t size)
    {
        for (const Json::Value& record : TestServer::LogRecords(from))
            if (record["path"].asString() == path && record["sent"].isIntegral() && record["sent"].asUInt64() == size)
                return true;
        return false;
    }
};

TEST_F(SignedUpdater, StartsOnlyWhatTheVendorSignedAndNeverAnOlderRelease)
{
    const std::string bytes = InstallerBytes();
    std::string otherBytes = bytes;
    otherBytes[otherBytes.size() / 2] ^= 0x55;
    const TestSigner vendor;
    const TestSigner stranger(std::string(32, 's'));
    auto sign = [&](const std::string& version) { return vendor.SignPackage(bytes, appId, channel, version); };
    const struct {
        const char* what;
        const char* version;
        std::string fileSig;
        bool started;
    } rows[] = {
        {"signed by another key", "2.0.0.1", stranger.SignPackage(bytes, appId, channel, "2.0.0.1"), false},
        {"signature over another package", "2.0.0.1", vendor.SignPackage(otherBytes, appId, channel, "2.0.0.1"), false},
        {"signature over another size", "2.0.0.1",
         vendor.SignPackage(bytes, appId, channel, "2.0.0.1", int64_t(bytes.size()) + 1), false},
        {"signature over another version", "2.0.0.1", sign("2.0.0.0"), false},
        {"no signature", "2.0.0.1", "", false},
        {"the first form of the statement", "2.0.0.1", vendor.SignPackageV1(bytes, "2.0.0.1"), false},
        {"signed for another channel", "2.0.0.1", vendor.SignPackage(bytes, appId, channel + "beta", "2.0.0.1"), false},
        {"signed for another product", "2.0.0.1", vendor.SignPackage(bytes, "Ferncastle", channel, "2.0.0.1"), false},
        {"signed", "2.0.0.1", sign("2.0.0.1"), true},
        {"signed, older than the one started", "2.0.0.0", sign("2.0.0.0"), false},
        {"signed, the one started again", "2.0.0.1", sign("2.0.0.1"), true},
    };
    TestServer::WritePackage("signed.exe", bytes);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        // The folder a start left goes before the next run, which makes its own.
        ASSERT_TRUE(RemovePackageFolders());
        OfferSigned("signed.exe", row.version, row.fileSig);
        const size_t logFrom = TestServer::LogLines().size();
        HANDLE process = Start();
        ASSERT_NE(process, nullptr);
        HWND window = WaitForWindow();
        ASSERT_NE(window, nullptr);
        // The buttons answer again once the download and the launch decision are over.
        ASSERT_TRUE(MinimiseWhenEnabled(window, 40)) << NewLog();
        EXPECT_TRUE(WaitFor([&] { return SentWhole(logFrom, "/packages/signed.exe", bytes.size()); }, 10)) << NewLog();
        if (row.started)
            EXPECT_TRUE(WaitFor([&] { return CountOf(ReadFile(installLog), "show=5") == 1; }, 20)) << NewLog();
        else
            EXPECT_FALSE(FileExists(installLog)) << ReadFile(installLog);
        EXPECT_EQ(PackageFolders().size(), row.started ? 1u : 0u);
        EXPECT_EQ(FileExists(PackagePath()), row.started);
        EXPECT_TRUE(IsWindow(window));
        EXPECT_EQ(WaitForSingleObject(process, 0), static_cast<DWORD>(WAIT_TIMEOUT));
        PostMessageW(window, WM_CLOSE, 0, 0);
        DWORD code = 99;
        ASSERT_TRUE(Ends(process, 15, code));
        EXPECT_EQ(code, 0u);
        DeleteFileW(installLog.c_str());
    }
}

} // namespace
