#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "install_context_win.h"
#include "updater_identity.h"

namespace {

// Writes "Config.cfg" beside the test executable and a key under
// HKEY_CURRENT_USER\Software for the duration of one test; both are removed
// afterwards, whatever the outcome.
class InstallContextOnWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        appId_ = "FerncastleTest" + std::to_string(GetCurrentProcessId());
        configPath_ = GetModuleDir() + "Config.cfg";
        DeleteFileA(configPath_.c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, KeyPath().c_str());
    }
    void TearDown() override
    {
        DeleteFileA(configPath_.c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, KeyPath().c_str());
    }

    std::string KeyPath() const { return "Software\\" + appId_; }

    void WriteConfig(const std::string& text)
    {
        HANDLE file =
            CreateFileA(configPath_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
        CloseHandle(file);
    }

    void WriteRegistryChannel(const void* data, DWORD size, DWORD type = REG_SZ)
    {
        HKEY key = nullptr;
        ASSERT_EQ(
            RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath().c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, "ChannelID", 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void WriteRegistryChannel(const std::string& text) { WriteRegistryChannel(text.c_str(), DWORD(text.size() + 1)); }

    std::string appId_;
    std::string configPath_;
};

TEST_F(InstallContextOnWindows, ModuleDirEndsWithBackslashAndHoldsTheExecutable)
{
    std::string dir = GetModuleDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '\\');
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    EXPECT_EQ(std::string(path).rfind(dir, 0), 0u);
}

TEST_F(InstallContextOnWindows, FileAbsentAndNoKey)
{
    UpdateRequest r = FillUpdateRequest();
    EXPECT_EQ(r.appId, "");
    EXPECT_EQ(r.channel, "");
    EXPECT_EQ(r.version, FERNCASTLE_UPDATER_VERSION);
    EXPECT_EQ(r.reqType, 1);
    EXPECT_EQ(r.uid.size(), 32u);
    EXPECT_EQ(r.osVersion, "Microsoft Windows 10");
    EXPECT_NEAR(double(r.ts), double(time(nullptr)), 60.0);
}

TEST_F(InstallContextOnWindows, FileOnly)
{
    WriteConfig("[AppInfo]\r\nAppId=" + appId_ + "\r\nChannelID=1001\r\n");
    UpdateRequest r = FillUpdateRequest();
    EXPECT_EQ(r.appId, appId_);
    EXPECT_EQ(r.channel, "1001");
}

TEST_F(InstallContextOnWindows, EmptyRegistryValueFallsBackToFile)
{
    WriteConfig("[AppInfo]\r\nAppId=" + appId_ + "\r\nChannelID=1001\r\n");
    WriteRegistryChannel("");
    EXPECT_EQ(FillUpdateRequest().channel, "1001");
}

TEST_F(InstallContextOnWindows, NonEmptyRegistryValueWinsOverFile)
{
    WriteConfig("[AppInfo]\r\nAppId=" + appId_ + "\r\nChannelID=1001\r\n");
    WriteRegistryChannel("3003");
    EXPECT_EQ(FillUpdateRequest().channel, "3003");
}

TEST_F(InstallContextOnWindows, RegistryValueOfMoreThan256BytesCountsAsAbsent)
{
    WriteConfig("[AppInfo]\r\nAppId=" + appId_ + "\r\nChannelID=1001\r\n");
    WriteRegistryChannel(std::string(256, '7')); // 257 bytes with its terminator
    EXPECT_EQ(FillUpdateRequest().channel, "1001");
    std::string out = "kept";
    EXPECT_FALSE(ReadRegistryString(KeyPath(), "ChannelID", out));
    EXPECT_EQ(out, "kept");
}

TEST_F(InstallContextOnWindows, RegistryValueFillingExactly256BytesIsRead)
{
    WriteRegistryChannel(std::string(255, '7'));
    std::string out;
    EXPECT_TRUE(ReadRegistryString(KeyPath(), "ChannelID", out));
    EXPECT_EQ(out, std::string(255, '7'));

    // Binary data without any terminator stays bounded by the buffer.
    std::string raw(256, 'B');
    WriteRegistryChannel(raw.data(), 256, REG_BINARY);
    EXPECT_TRUE(ReadRegistryString(KeyPath(), "ChannelID", out));
    EXPECT_EQ(out, raw);
}

TEST_F(InstallContextOnWindows, RegistryTextEndsAtFirstZeroByteWhateverTheType)
{
    const char data[] = {'4', '2', '\0', '9', '9'};
    WriteRegistryChannel(data, sizeof data, REG_BINARY);
    std::string out;
    EXPECT_TRUE(ReadRegistryString(KeyPath(), "ChannelID", out));
    EXPECT_EQ(out, "42");
}

TEST_F(InstallContextOnWindows, IdentifierIsUsedVerbatimAsKeyName)
{
    const std::string spaced = appId_ + " Reader";
    WriteConfig("[AppInfo]\r\nAppId=" + spaced + "\r\n");
    HKEY key = nullptr;
    const std::string keyPath = "Software\\" + spaced;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "ChannelID", 0, REG_SZ, reinterpret_cast<const BYTE*>("5005"), 5);
    RegCloseKey(key);
    UpdateRequest r = FillUpdateRequest();
    RegDeleteTreeA(HKEY_CURRENT_USER, keyPath.c_str());
    EXPECT_EQ(r.appId, spaced);
    EXPECT_EQ(r.channel, "5005");
}

TEST_F(InstallContextOnWindows, ConfigValueIsCutAtTheBufferSize)
{
    WriteConfig("[AppInfo]\r\nAppId=" + std::string(2000, 'A') + "\r\n");
    EXPECT_EQ(ReadConfigValue(configPath_, "AppInfo", "AppId"), std::string(1023, 'A'));
}

} // namespace
