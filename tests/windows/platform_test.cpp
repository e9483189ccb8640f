#include <gtest/gtest.h>

#include <windows.h>

#include <climits>

#include "update_query.h"

// These check the ground every other Windows test stands on: the manifest is
// embedded and honoured, and wide text is UTF-16.

TEST(Platform, ManifestMakesGetVersionExReportWindows10)
{
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version)));
    // Without the supportedOS entries Windows (and Wine) would answer 6.2.
    EXPECT_EQ(version.dwMajorVersion, 10u);
    EXPECT_EQ(version.dwMinorVersion, 0u);
    EXPECT_EQ(version.dwPlatformId, DWORD(VER_PLATFORM_WIN32_NT));
}

TEST(Platform, OsVersionInfoExHasItsDocumentedSize)
{
    EXPECT_EQ(sizeof(OSVERSIONINFOEXW), 284u);
}

TEST(Platform, WideCharactersAreUtf16Units)
{
    EXPECT_EQ(sizeof(wchar_t) * CHAR_BIT, 16u);
    const wchar_t text[] = L"\U0001F600"; // one character outside the BMP: a surrogate pair
    EXPECT_EQ(sizeof text / sizeof text[0], 3u);
    EXPECT_EQ(text[0], wchar_t(0xD83D));
}

TEST(Platform, VersionResourceSaysOnePointZeroPointZeroPointTwo)
{
    wchar_t path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &handle);
    ASSERT_GT(size, 0u);
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, &block[0]));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    ASSERT_TRUE(VerQueryValueW(&block[0], L"\\", reinterpret_cast<void**>(&info), &infoSize));
    EXPECT_EQ(info->dwFileVersionMS, DWORD((1 << 16) | 0));
    EXPECT_EQ(info->dwFileVersionLS, DWORD((0 << 16) | 2));
    EXPECT_EQ(info->dwProductVersionMS, info->dwFileVersionMS);
    EXPECT_EQ(info->dwProductVersionLS, info->dwFileVersionLS);
}

TEST(Platform, ReleaseConfigurationIgnoresTheTestServerVariable)
{
    SetEnvironmentVariableA("FERNCASTLE_UPDATE_SERVER", "127.0.0.1:1");
    EXPECT_EQ(DefaultRequestPrefix(), MakeRequestPrefix(FERNCASTLE_UPDATE_HOST));
    SetEnvironmentVariableA("FERNCASTLE_UPDATE_SERVER", nullptr);
}
