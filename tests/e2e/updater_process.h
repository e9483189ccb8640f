// The real updater (its test configuration) started as a separate process
// under Wine against the project's update server on loopback: each case runs
// it from a folder of its own with a Config.cfg and a private temporary
// folder (where the package lands), drives its window with posted mouse
// messages and waits with deadlines. The stand-in installer records its
// starts in the case's folder, outside the temporary one.
#pragma once

#include <gtest/gtest.h>
#include <json/json.h>

#include <windows.h>

#include <cctype>
#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "test_server.h"
#include "updater_identity.h"

namespace e2e {

using Clock = std::chrono::steady_clock;

inline const char kAppId[] = "FerncastleE2E";
// Centre of "MinNormal" in the 380 x 240 window.
inline const POINT kMinCentre = {368, 12};

inline std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

// `text` with every `key` replaced by `value`.
inline std::string Fill(std::string text, const std::string& key, const std::string& value)
{
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size()))
        text.replace(at, key.size(), value);
    return text;
}

// Polls `done` until it holds or `seconds` have passed.
inline bool WaitFor(const std::function<bool()>& done, double seconds)
{
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

inline std::string ReadFile(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline int CountOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The stand-in installer's bytes: any executable that records its start.
inline std::string InstallerBytes()
{
    return ReadFile(Wide(FERNCASTLE_DEMO_INSTALLER));
}

class Updater : public ::testing::Test {
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        // Parameterised cases are named "Row/Name": the channel becomes a folder name.
        channel = std::string("e2e") + info->name();
        for (char& c : channel)
            if (!isalnum(static_cast<unsigned char>(c)))
                c = '_';
        folder = Wide(TestServer::Dir()) + Wide(channel) + L"\\";
        temp = folder + L"temp\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        CreateDirectoryW(temp.c_str(), nullptr);
        exe = folder + L"FerncastleUpdate.exe";
        ASSERT_TRUE(CopyFileW(Wide(FERNCASTLE_UPDATER).c_str(), exe.c_str(), FALSE));
        std::ofstream((folder + L"Config.cfg").c_str())
            << "[AppInfo]\r\nAppId=" << appId << "\r\nChannelID=" << channel << "\r\n";
        packageName = L"Ferncastle_" FERNCASTLE_UPDATER_VERSION L"_" + Wide(channel) + L".exe";
        installLog = folder + L"install.log";
        logStart = TestServer::LogLines().size();
        SetEnvironmentVariableW(L"FERNCASTLE_UPDATE_SERVER", Wide(TestServer::Address()).c_str());
    }

    void TearDown() override
    {
        for (PROCESS_INFORMATION& process : processes) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 5000);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
    }

    // Offers a package to this case's channel; `url` replaces the address,
    // `fileSize` (when not negative) the announced size; without `md5` the
    // offer names no MD5; `tls` names the identity the server presents to
    // a TLS client (none: it closes such connections).
    void Offer(const std::string& package, const std::string& url = std::string(), long long fileSize = -1,
               bool md5 = true, const char* tls = nullptr)
    {
        Json::Value release = Release(package);
        if (!url.empty())
            release["downloadUrl"] = url;
        if (fileSize >= 0)
            release["fileSize"] = Json::Int64(fileSize);
        if (!md5)
            release["fileMd5"] = Json::Value();
        WriteCatalogueOf(release, tls);
    }

    // The catalogue entry offering `package` as version 2.0.0.1 to this case's channel.
    Json::Value Release(const std::string& package) const
    {
        Json::Value release;
        release["appId"] = appId;
        release["channel"] = channel;
        release["package"] = package;
        release["latestVersion"] = "2.0.0.1";
        release["updateType"] = 1;
        return release;
    }

    static void WriteCatalogueOf(const Json::Value& release, const char* tls = nullptr)
    {
        Json::Value catalogue;
        catalogue["releases"].append(release);
        if (tls)
            catalogue["tls"] = tls;
        TestServer::WriteCatalogue(Json::writeString(Json::StreamWriterBuilder(), catalogue));
    }

    void OfferNothing() { TestServer::WriteCatalogue("{\"releases\": []}"); }

    // Starts the updater with the case's temporary folder.
    HANDLE Start()
    {
        SetEnvironmentVariableW(L"TEMP", temp.c_str());
        SetEnvironmentVariableW(L"TMP", temp.c_str());
        SetEnvironmentVariableW(L"FERNCASTLE_DEMO_INSTALL_LOG", installLog.c_str());
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        std::wstring command = L"\"" + exe + L"\"";
        const BOOL started = CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                            folder.c_str(), &startup, &process);
        EXPECT_TRUE(started) << GetLastError();
        if (!started)
            return nullptr;
        processes.push_back(process);
        return process.hProcess;
    }

    HWND WaitForWindow()
    {
        HWND window = nullptr;
        WaitFor([&] { return (window = FindWindowW(kUpdaterWindowClass, nullptr)) != nullptr; }, 20);
        return window;
    }

    // Requests the server logged since the case began.
    std::string NewLog()
    {
        std::string text;
        const std::vector<std::string> lines = TestServer::LogLines();
        for (size_t i = logStart; i < lines.size(); ++i)
            text += lines[i] + "\n";
        return text;
    }
    int Queries() { return CountOf(NewLog(), "\"method\": \"GET\", \"path\": \"/upgrade/info"); }
    int PackageRequests()
    {
        const std::string log = NewLog();
        return CountOf(log, "\"method\": \"HEAD\"") + CountOf(log, "\"method\": \"GET\", \"path\": \"/packages/") +
               CountOf(log, "\"method\": \"GET\", \"path\": \"/fault/");
    }

    // Waits until the window has answered its update check: the query has
    // been answered and the window's thread is back in its message loop.
    bool WaitForCheck(HWND window)
    {
        if (!WaitFor([&] { return CountOf(NewLog(), "signatureOk") >= 1; }, 20))
            return false;
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result) != 0;
    }

    // Whether the window has been painted once: its first paint runs the
    // update check before it validates the window, whatever the check's
    // outcome, and the first paint is the only one the check ever holds up.
    static bool HasPainted(HWND window)
    {
        return IsWindowVisible(window) && !IsIconic(window) && !GetUpdateRect(window, nullptr, FALSE);
    }

    static void Click(HWND window, POINT at)
    {
        const LPARAM point = MAKELPARAM(at.x, at.y);
        PostMessageW(window, WM_MOUSEMOVE, 0, point);
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
        PostMessageW(window, WM_LBUTTONUP, 0, point);
    }

    // Clicks "MinNormal" until the window is minimised: the button only
    // answers once it is enabled again, that is once the download has ended.
    static bool MinimiseWhenEnabled(HWND window, double seconds)
    {
        return WaitFor(
            [&] {
                Click(window, kMinCentre);
                return WaitFor([&] { return IsIconic(window) != FALSE; }, 0.3);
            },
            seconds);
    }

    static bool Ends(HANDLE process, double seconds, DWORD& code)
    {
        if (WaitForSingleObject(process, static_cast<DWORD>(seconds * 1000)) != WAIT_OBJECT_0)
            return false;
        return GetExitCodeProcess(process, &code) != FALSE;
    }

    // Names of the files and folders in `dir` (ending in "\\").
    static std::vector<std::wstring> FilesIn(const std::wstring& dir)
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found = {};
        HANDLE search = FindFirstFileW((dir + L"*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                names.push_back(name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }

    // The folders the updater made for packages in the case's temporary
    // folder: "FerncastleUpdate-" and 16 hexadecimal digits.
    std::vector<std::wstring> PackageFolders() const
    {
        std::vector<std::wstring> folders;
        const std::wstring prefix = L"FerncastleUpdate-";
        for (const std::wstring& name : FilesIn(temp))
            if (name.size() == prefix.size() + 16 && name.compare(0, prefix.size(), prefix) == 0 &&
                name.find_first_not_of(L"0123456789abcdef", prefix.size()) == std::wstring::npos)
                folders.push_back(name);
        return folders;
    }

    // The package's path in the folder the updater made for it; empty while
    // there is none.
    std::wstring PackagePath() const
    {
        const std::vector<std::wstring> folders = PackageFolders();
        return folders.empty() ? std::wstring() : temp + folders[0] + L"\\" + packageName;
    }

    // Removes what earlier runs of the case left, waiting for an installer
    // that still holds its folder.
    bool RemovePackageFolders()
    {
        return WaitFor(
            [&] {
                for (const std::wstring& name : PackageFolders()) {
                    DeleteFileW((temp + name + L"\\" + packageName).c_str());
                    RemoveDirectoryW((temp + name).c_str());
                }
                return PackageFolders().empty();
            },
            20);
    }

    std::string appId = kAppId; // a fixture may name its own before SetUp
    std::string channel;
    std::wstring folder, temp, exe, packageName, installLog;
    size_t logStart = 0;
    std::vector<PROCESS_INFORMATION> processes;
};

} // namespace e2e
