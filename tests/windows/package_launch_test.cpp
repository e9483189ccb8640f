#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "announced_manifest.h"
#include "md5.h"
#include "package_folder.h"
#include "package_launch.h"
#include "package_name.h"
#include "rollback_record.h"
#include "test_signer.h"
#include "updater_identity.h"

namespace {

// Cancelled once it has been asked `checksBeforeCancel` times.
class CountingGate : public LaunchGate {
public:
    bool IsCancelled() const override { return ++checks > checksBeforeCancel; }
    bool StartUnlessCancelled(const std::function<bool()>& start) override { return !IsCancelled() && start(); }
    int checksBeforeCancel = 1 << 30;
    mutable int checks = 0;
};

// A product of this test's own, so that its rollback record meets no other test's.
const char kAppId[] = "FerncastleLaunchTest";

class PackageLaunch : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, RollbackRecordKey(kAppId).c_str());
        wchar_t folder[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, folder);
        path_ = std::wstring(folder) + L"package_launch_test.exe";
        Write(bytes_);
    }
    void TearDown() override
    {
        hold_.reset();
        DeleteFileW(path_.c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, RollbackRecordKey(kAppId).c_str());
    }

    void Write(const std::string& bytes)
    {
        HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    bool Exists() const { return GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES; }

    // Starts nothing; records the call and whether the file could be changed meanwhile.
    bool Launch(const ReceivedPackage& received, const UpdateManifest& manifest)
    {
        OfferedUpdate offer;
        offer.path = path_;
        offer.manifest = manifest;
        offer.appId = kAppId;
        offer.channel = "1001";
        return LaunchVerifiedPackage(
            offer, received, vendorKey_, gate_, *hold_, [this](const std::wstring& path, base::UniqueHandle& process) {
                starts_.push_back(path);
                process.reset(installer_.release());
                HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr);
                writableWhileStarting_ = writer != INVALID_HANDLE_VALUE;
                if (writer != INVALID_HANDLE_VALUE)
                    CloseHandle(writer);
                // Nor renamed or deleted.
                const std::wstring moved = path + L".moved";
                if (MoveFileW(path.c_str(), moved.c_str())) {
                    writableWhileStarting_ = true;
                    MoveFileW(moved.c_str(), path.c_str());
                }
                if (DeleteFileW(path.c_str()))
                    writableWhileStarting_ = true;
                return startResult_;
            });
    }

    std::string bytes_ = std::string(3000, 'x') + "installer";
    std::string vendorKey_; // none: the digest and size decide alone
    CountingGate gate_;
    std::unique_ptr<PackageHold> hold_ = std::make_unique<PackageHold>();
    base::UniqueHandle installer_; // what a start hands over as the installer's process
    std::wstring path_;
    std::vector<std::wstring> starts_;
    bool writableWhileStarting_ = true;
    bool startResult_ = true;
};

ReceivedPackage Received(const std::string& bytes)
{
    return ReceivedPackage{bytes.size(), Md5Hex(bytes)};
}

TEST_F(PackageLaunch, MatchingPackageIsStartedWhileNobodyCanChangeIt)
{
    EXPECT_TRUE(Launch(Received(bytes_), Announced(int64_t(bytes_.size()), Md5Hex(bytes_))));
    EXPECT_EQ(starts_, std::vector<std::wstring>{path_});
    EXPECT_FALSE(writableWhileStarting_);
    EXPECT_TRUE(Exists());
}

TEST_F(PackageLaunch, AnyMismatchRemovesTheFileWithoutStartingIt)
{
    const std::string other = bytes_.substr(1) + "!";
    const std::wstring outside = path_ + L".elsewhere";
    enum class Link { None, Hard, Symbolic };
    const struct {
        const char* what;
        ReceivedPackage received;
        UpdateManifest manifest;
        Link link = Link::None;
    } cases[] = {
        {"the file has a second name", Received(bytes_), Announced(int64_t(bytes_.size()), Md5Hex(bytes_)), Link::Hard},
        {"the name is a link", Received(bytes_), Announced(int64_t(bytes_.size()), Md5Hex(bytes_)), Link::Symbolic},
        {"file shorter than received", Received(bytes_ + "more"), Announced(0, "")},
        {"file differs from what was received", Received(other), Announced(0, "")},
        {"announced size differs", Received(bytes_), Announced(int64_t(bytes_.size()) + 1, "")},
        {"announced MD5 differs", Received(bytes_), Announced(0, Md5Hex(other))},
        {"announced MD5 differs, none taken while receiving", ReceivedPackage{bytes_.size(), ""},
         Announced(0, Md5Hex(other))},
    };
    for (const auto& c : cases) {
        Write(bytes_);
        if (c.link == Link::Hard) {
            ASSERT_TRUE(CreateHardLinkW(outside.c_str(), path_.c_str(), nullptr));
        } else if (c.link == Link::Symbolic) {
            ASSERT_TRUE(MoveFileExW(path_.c_str(), outside.c_str(), MOVEFILE_REPLACE_EXISTING));
            ASSERT_TRUE(CreateSymbolicLinkW(path_.c_str(), outside.c_str(), 0));
        }
        EXPECT_FALSE(Launch(c.received, c.manifest)) << c.what;
        EXPECT_TRUE(starts_.empty()) << c.what;
        EXPECT_FALSE(Exists()) << c.what;
    }
    EXPECT_TRUE(DeleteFileW(outside.c_str())) << "the other name stays";
}

// The started file stays held until the installer's process has ended.
TEST_F(PackageLaunch, AStartedPackageIsHeldUntilItsInstallerEnds)
{
    installer_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const HANDLE ended = installer_.get();
    ASSERT_TRUE(Launch(Received(bytes_), Announced(int64_t(bytes_.size()), Md5Hex(bytes_))));
    EXPECT_TRUE(hold_->Holds());
    EXPECT_FALSE(DeleteFileW(path_.c_str()));
    SetEvent(ended);
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (hold_->Holds() && GetTickCount64() < deadline)
        Sleep(10);
    EXPECT_TRUE(DeleteFileW(path_.c_str()));
}

// A close stops the check between two blocks, or just before the start:
// nothing starts and the file goes. 200 KiB are read in four 64 KiB blocks
// and a last empty read, then started: six questions in all.
TEST_F(PackageLaunch, ACloseStopsTheCheckBetweenBlocks)
{
    bytes_ = std::string(200 * 1024, 'b');
    for (const int checks : {0, 2, 4, 5}) {
        Write(bytes_);
        starts_.clear();
        gate_.checks = 0;
        gate_.checksBeforeCancel = checks;
        EXPECT_FALSE(Launch(Received(bytes_), Announced(int64_t(bytes_.size()), Md5Hex(bytes_)))) << checks;
        EXPECT_TRUE(starts_.empty()) << checks;
        EXPECT_FALSE(Exists()) << checks;
        EXPECT_EQ(gate_.checks, checks + 1) << "asked once after the cancel, then stopped";
    }
}

// With a vendor key, the signature over the file as it is held decides, and
// only a start records its version: one lower is refused after it. Refusals
// and a failed start of 9.0 first, which must leave the record alone.
TEST_F(PackageLaunch, VendorKeyStartsOnlyASignatureOverTheHeldFile)
{
    const TestSigner vendor;
    vendorKey_ = vendor.PublicKey();
    const std::string other = bytes_.substr(1) + "!";
    const struct {
        const char* what;
        std::string signature;
        const char* version;
        bool started;
        bool startFails = false;
    } cases[] = {
        {"no signature", "", "9.0", false},
        {"signed 9.0, which fails to start", vendor.SignPackage(bytes_, kAppId, "1001", "9.0"), "9.0", false, true},
        {"signed for other bytes", vendor.SignPackage(other, kAppId, "1001", "2.0.0.1"), "2.0.0.1", false},
        {"signed as another version", vendor.SignPackage(bytes_, kAppId, "1001", "2.0.0.2"), "2.0.0.1", false},
        {"signed by another key", TestSigner(std::string(32, 'k')).SignPackage(bytes_, kAppId, "1001", "2.0.0.1"),
         "2.0.0.1", false},
        {"signed", vendor.SignPackage(bytes_, kAppId, "1001", "2.0.0.1"), "2.0.0.1", true},
        {"signed, lower than the one started", vendor.SignPackage(bytes_, kAppId, "1001", "2.0.0.0"), "2.0.0.0", false},
    };
    for (const auto& c : cases) {
        hold_ = std::make_unique<PackageHold>(); // the last start's installer has ended
        Write(bytes_);
        starts_.clear();
        UpdateManifest manifest = Announced(int64_t(bytes_.size()), Md5Hex(bytes_));
        manifest.latestVersion = c.version;
        manifest.fileSig = c.signature;
        startResult_ = !c.startFails;
        EXPECT_EQ(Launch(Received(bytes_), manifest), c.started) << c.what;
        EXPECT_EQ(starts_.size(), c.started || c.startFails ? 1u : 0u) << c.what;
        EXPECT_EQ(Exists(), c.started) << c.what;
    }
    std::string recorded = "unread", otherRecorded = "unread";
    RollbackRecord record, otherChannel;
    ASSERT_TRUE(record.Open(kAppId, "1001") && record.Read(recorded));
    ASSERT_TRUE(otherChannel.Open(kAppId, "1002") && otherChannel.Read(otherRecorded));
    EXPECT_EQ(recorded, "2.0.0.1");
    EXPECT_EQ(otherRecorded, "");

    // A record that is not a text refuses, rather than leave the guard off.
    const DWORD number = 1;
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, RollbackRecordKey(kAppId).c_str(), "HighestStarted.1001", REG_DWORD,
                              &number, sizeof number),
              ERROR_SUCCESS);
    hold_ = std::make_unique<PackageHold>();
    Write(bytes_);
    UpdateManifest manifest = Announced(int64_t(bytes_.size()), Md5Hex(bytes_));
    manifest.latestVersion = "2.0.0.1";
    manifest.fileSig = vendor.SignPackage(bytes_, kAppId, "1001", "2.0.0.1");
    EXPECT_FALSE(Launch(Received(bytes_), manifest));
}

// The folders are made in, and cleaned from, a temporary folder of this test's own.
class PackageFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t folder[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, folder);
        saved_ = folder;
        temp_ = saved_ + L"package_folder_test\\";
        CreateDirectoryW(temp_.c_str(), nullptr);
        SetEnvironmentVariableW(L"TMP", temp_.c_str());
    }
    void TearDown() override { SetEnvironmentVariableW(L"TMP", saved_.c_str()); }

    static void Put(const std::wstring& path, const char* text = "x") { std::ofstream(path.c_str()) << text; }
    bool Exists(const std::wstring& name) const
    {
        return GetFileAttributesW((temp_ + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::wstring saved_, temp_;
};

// Whether the folder's access list lets everyone in. Wine keeps no access
// list: it derives one from the Unix mode, which the list it was made with
// sets, and one made without lets everyone read.
bool OpenToEveryone(const std::wstring& folder)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PACL dacl = nullptr;
    if (GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return true;
    PSID everyone = nullptr;
    ConvertStringSidToSidW(L"S-1-1-0", &everyone);
    bool open = dacl == nullptr;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (GetAce(dacl, i, reinterpret_cast<void**>(&ace)) && EqualSid(&ace->SidStart, everyone))
            open = true;
    }
    LocalFree(everyone);
    LocalFree(descriptor);
    return open;
}

TEST_F(PackageFolder, EachPackageGetsAFreshFolderOnlyItsOwnersOpen)
{
    const std::wstring first = NewPackagePath("..\\x"), second = NewPackagePath("1001");
    ASSERT_FALSE(first.empty());
    const std::wstring folder = first.substr(0, first.rfind(L'\\'));
    EXPECT_EQ(first.substr(folder.size() + 1), L"Ferncastle_" FERNCASTLE_UPDATER_VERSION L"____x.exe");
    EXPECT_EQ(folder.substr(0, temp_.size()), temp_);
    EXPECT_TRUE(IsPackageFolderName(folder.substr(temp_.size())));
    EXPECT_NE(second.substr(0, second.rfind(L'\\')), folder);
    EXPECT_FALSE(OpenToEveryone(folder));
    ASSERT_TRUE(OpenToEveryone(temp_)) << "made without a list, or the test cannot tell";

    // Held while in use: another updater's clean-up leaves it alone.
    Put(first);
    RemoveLeftPackageFolders();
    EXPECT_TRUE(Exists(folder.substr(temp_.size()) + L"\\Ferncastle_" FERNCASTLE_UPDATER_VERSION L"____x.exe"));
    RemovePackage(first);
    RemovePackage(second);
    EXPECT_FALSE(Exists(folder.substr(temp_.size())));
}

// What earlier runs left goes at the next start: only folders named as
// ours, not one still in use or holding a folder, and never through a link.
TEST_F(PackageFolder, LeftFoldersGoUnlessInUse)
{
    const std::wstring left = PackageFolderName(1), busy = PackageFolderName(2), nested = PackageFolderName(3),
                       linked = PackageFolderName(4), withLink = PackageFolderName(5),
                       users = L"FerncastleUpdate-notes";
    const std::wstring outside = temp_ + L"outside";
    for (const std::wstring& name : {left, busy, nested, withLink, users, std::wstring(L"outside")}) {
        CreateDirectoryW((temp_ + name).c_str(), nullptr);
        Put(temp_ + name + L"\\a.exe");
    }
    CreateDirectoryW((temp_ + nested + L"\\logs").c_str(), nullptr);
    ASSERT_TRUE(CreateSymbolicLinkW((temp_ + linked).c_str(), outside.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY));
    ASSERT_TRUE(
        CreateSymbolicLinkW((temp_ + withLink + L"\\in").c_str(), outside.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY));
    // Held as a running installer's image is: not to be deleted.
    base::UniqueHandle inUse(CreateFileW((temp_ + busy + L"\\a.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(inUse);

    RemoveLeftPackageFolders();
    EXPECT_FALSE(Exists(left));
    EXPECT_FALSE(Exists(linked));
    EXPECT_FALSE(Exists(withLink));
    EXPECT_TRUE(Exists(busy + L"\\a.exe"));
    EXPECT_TRUE(Exists(nested + L"\\logs"));
    EXPECT_TRUE(Exists(users + L"\\a.exe"));
    EXPECT_TRUE(Exists(L"outside\\a.exe"));
}

} // namespace
