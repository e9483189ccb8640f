// The real updater behind an office proxy: the user's Internet settings name
// a proxy (tinyproxy, or the update server playing one), a bypass list or a
// configuration script, and both the query and the package must go the way
// they say. The settings are the prefix's own: this program runs in a Wine
// prefix of its own, and leaves it set to a direct connection.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <string>

#include "test_server.h"
#include "updater_process.h"

namespace {

using namespace e2e;

const wchar_t kSettingsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Writes the settings both ways Wine reads them: the plain values (WinINet)
// and the binary DefaultConnectionSettings (WinHTTP). Empty texts: unset.
void WriteSettings(const std::string& proxy, const std::string& bypass, const std::string& script)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD enabled = proxy.empty() ? 0 : 1;
    RegSetValueExW(key, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enabled), sizeof enabled);
    for (const auto& value : {std::make_pair(L"ProxyServer", proxy), std::make_pair(L"ProxyOverride", bypass),
                              std::make_pair(L"AutoConfigURL", script)}) {
        const std::wstring text = Wide(value.second);
        if (text.empty())
            RegDeleteValueW(key, value.first);
        else
            RegSetValueExW(key, value.first, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           DWORD((text.size() + 1) * sizeof(wchar_t)));
    }
    // Version, counter, flags (1 direct, 2 manual proxy, 4 script), then each
    // text after its length, and room for what Windows keeps after them.
    std::string blob;
    auto add = [&](uint32_t number) { blob.append(reinterpret_cast<const char*>(&number), sizeof number); };
    add(0x46);
    add(0);
    add(1 | (proxy.empty() ? 0 : 2) | (script.empty() ? 0 : 4));
    for (const std::string* text : {&proxy, &bypass, &script}) {
        add(uint32_t(text->size()));
        blob += *text;
    }
    blob.append(28, '\0');
    HKEY connections = nullptr;
    ASSERT_EQ(RegCreateKeyExW(key, L"Connections", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &connections, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(connections, L"DefaultConnectionSettings", 0, REG_BINARY, reinterpret_cast<const BYTE*>(blob.data()),
                   DWORD(blob.size()));
    RegCloseKey(connections);
    RegCloseKey(key);
}

std::string Env(const char* name)
{
    const char* value = getenv(name);
    return value ? value : "";
}

// tinyproxy's log of requests.
std::string ProxyLog()
{
    std::string path = "Z:" + Env("FERNCASTLE_TEST_PROXY_LOG");
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return ReadFile(Wide(path));
}

enum class Via { Proxy, Direct, Either };

struct Row {
    const char* name;
    // The manual proxy: "{proxy}" tinyproxy, "{server}" the update server.
    const char* proxy;
    const char* bypass;
    // The configuration script's address: "{script}" one the update server
    // serves, which names tinyproxy; empty for none.
    const char* script;
    // "{host}" for the server's port on localhost, "{package}" its name.
    const char* packageUrl;
    const char* tls;
    Via query;
    Via package;
    bool started;
};

void PrintTo(const Row& row, std::ostream* out)
{
    *out << row.name;
}

// clang-format off
const Row kRows[] = {
    {"ManualProxy", "{proxy}", "", "", "http://{host}/packages/{package}", nullptr, Via::Proxy, Via::Proxy, true},
    {"BypassListNamesTheHost", "{proxy}", "localhost", "", "http://{host}/packages/{package}", nullptr,
     Via::Direct, Via::Direct, true},
    {"UnreachableProxy", "127.0.0.1:1", "", "", "http://{host}/packages/{package}", nullptr, Via::Direct,
     Via::Direct, false},
    // The query goes direct, the package to the proxy that is not there.
    {"UnreachableProxyForThePackage", "127.0.0.1:1", "localhost", "", "http://127.0.0.1:{port}/packages/{package}",
     nullptr, Via::Direct, Via::Direct, false},
    // The query goes direct, the package to a proxy that wants a password
    // (the update server, which answers for any host: this one resolves nowhere).
    {"ProxyAsksForBasicOnly", "{server}", "localhost", "", "http://packages.example.invalid/fault/proxy-basic/packages/{package}",
     nullptr, Via::Direct, Via::Direct, false},
    {"ConfigurationScript", "", "", "{script}", "http://{host}/packages/{package}", nullptr, Via::Either, Via::Proxy,
     true},
    // Past the detection's time limit the download goes direct (there is no manual proxy).
    {"ScriptServerStalls", "", "", "http://{host}/fault/stall/packages/none.pac", "http://{host}/packages/{package}",
     nullptr, Via::Either, Via::Direct, true},
    {"HttpsPackageThroughTheProxy", "{proxy}", "", "", "https://{host}/packages/{package}", "valid", Via::Proxy,
     Via::Proxy, true},
};
// clang-format on

// Under Wine a manual proxy takes even requests to localhost; Windows would
// send those direct, so the rows hold under Wine only.
class BehindAProxy : public Updater, public ::testing::WithParamInterface<Row> {
protected:
    void TearDown() override
    {
        WriteSettings("", "", "");
        Updater::TearDown();
    }
};

TEST_P(BehindAProxy, Row)
{
    const Row& row = GetParam();
    const std::string server = TestServer::Address(), port = server.substr(server.find(':') + 1);
    const std::string host = "localhost:" + port, name = channel + ".exe";
    const auto fill = [&](const std::string& text) {
        return Fill(
            Fill(Fill(Fill(Fill(text, "{proxy}", Env("FERNCASTLE_TEST_PROXY")), "{server}", server), "{host}", host),
                 "{port}", port),
            "{package}", name);
    };
    TestServer::WritePackage(name, InstallerBytes());
    Offer(name, fill(row.packageUrl), -1, true, row.tls);
    if (row.tls) {
        ASSERT_TRUE(TestServer::TrustTestCa());
    }
    const std::string script = "script-" + channel + ".pac";
    TestServer::WritePackage(script, "function FindProxyForURL(url, host) { return \"PROXY " +
                                         Env("FERNCASTLE_TEST_PROXY") + "\"; }\n");
    WriteSettings(fill(row.proxy), row.bypass,
                  Fill(fill(row.script), "{script}", "http://" + host + "/packages/" + script));
    SetEnvironmentVariableW(L"FERNCASTLE_UPDATE_SERVER", Wide(host).c_str());
    const size_t proxyLogStart = ProxyLog().size();

    HANDLE process = Start();
    ASSERT_NE(process, nullptr);
    HWND window = WaitForWindow();
    ASSERT_NE(window, nullptr);
    if (row.started) {
        ASSERT_TRUE(WaitFor([&] { return FileExists(installLog); }, 30)) << NewLog();
    }
    ASSERT_TRUE(MinimiseWhenEnabled(window, 40)) << NewLog();
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(Ends(process, 15, code));
    EXPECT_EQ(code, 0u);

    EXPECT_EQ(CountOf(ReadFile(installLog), "show="), row.started ? 1 : 0) << NewLog();
    const std::string proxied = ProxyLog().substr(proxyLogStart);
    const bool queryProxied = proxied.find("/upgrade/info?") != std::string::npos;
    const bool packageProxied = proxied.find("HEAD http://" + host + "/packages/" + name) != std::string::npos ||
                                proxied.find("CONNECT " + host) != std::string::npos;
    if (row.query != Via::Either) {
        EXPECT_EQ(queryProxied, row.query == Via::Proxy) << proxied;
    }
    EXPECT_EQ(packageProxied, row.package == Via::Proxy) << proxied;
    if (row.package == Via::Proxy && !row.tls) {
        EXPECT_NE(proxied.find("GET http://" + host + "/packages/" + name), std::string::npos) << proxied;
    }
    if (std::string(row.packageUrl).find("proxy-basic") != std::string::npos) {
        // The update server played the proxy: asked as one, and never
        // answered with a password, to it or to the server behind it.
        int challenges = 0;
        for (const Json::Value& record : TestServer::LogRecords(logStart)) {
            if (!record.isMember("proxyAuthorization"))
                continue;
            ++challenges;
            EXPECT_TRUE(record["asProxy"].asBool()) << NewLog();
            EXPECT_FALSE(record["proxyAuthorization"].asBool());
            EXPECT_FALSE(record["authorization"].asBool());
        }
        EXPECT_GE(challenges, 1) << NewLog();
    }
}

INSTANTIATE_TEST_SUITE_P(Proxies, BehindAProxy, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

} // namespace
