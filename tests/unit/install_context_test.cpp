#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "install_context.h"
#include "updater_identity.h"

namespace {

// In-memory sources that record the order in which they are asked.
class FakeSources : public IRequestSources {
public:
    std::map<std::string, std::string> config;   // "path|section|key" -> value
    std::map<std::string, std::string> registry; // "keyPath|value" -> value
    std::vector<std::string> calls;

    std::string ModuleDir() override
    {
        calls.push_back("ModuleDir");
        return "C:\\Program Files\\Ferncastle\\";
    }
    std::string ReadConfigValue(const std::string& path, const std::string& section, const std::string& key) override
    {
        calls.push_back("Config " + key);
        auto it = config.find(path + "|" + section + "|" + key);
        return it == config.end() ? std::string() : it->second;
    }
    bool ReadRegistryString(const std::string& keyPath, const std::string& valueName, std::string& value) override
    {
        calls.push_back("Registry " + keyPath);
        auto it = registry.find(keyPath + "|" + valueName);
        if (it == registry.end())
            return false;
        value = it->second;
        return true;
    }
    std::string MachineId() override
    {
        calls.push_back("MachineId");
        return "0123456789abcdef0123456789abcdef";
    }
    std::string OsName() override
    {
        calls.push_back("OsName");
        return "Microsoft Windows 10";
    }
    int64_t Now() override
    {
        calls.push_back("Now");
        return 1700000000;
    }

    void SetConfig(const std::string& key, const std::string& value)
    {
        config["C:\\Program Files\\Ferncastle\\Config.cfg|AppInfo|" + key] = value;
    }
};

TEST(InstallContext, NoFileAndNoKeyGiveEmptyTextsButARequest)
{
    FakeSources sources;
    UpdateRequest r = FillUpdateRequest(sources);
    EXPECT_EQ(r.appId, "");
    EXPECT_EQ(r.channel, "");
    EXPECT_EQ(r.version, FERNCASTLE_UPDATER_VERSION);
    EXPECT_EQ(r.reqType, 1);
    EXPECT_EQ(r.ts, 1700000000);
    EXPECT_EQ(r.uid, "0123456789abcdef0123456789abcdef");
    EXPECT_EQ(r.osVersion, "Microsoft Windows 10");
}

TEST(InstallContext, LookupAndFillOrder)
{
    FakeSources sources;
    sources.SetConfig("AppId", "Ferncastle");
    FillUpdateRequest(sources);
    const std::vector<std::string> expected = {
        "ModuleDir", "Config AppId", "Registry Software\\Ferncastle", "Config ChannelID", "MachineId", "OsName", "Now"};
    EXPECT_EQ(sources.calls, expected);
}

TEST(InstallContext, NonEmptyRegistryChannelWinsOverTheFile)
{
    FakeSources sources;
    sources.SetConfig("AppId", "Ferncastle");
    sources.SetConfig("ChannelID", "1001");
    sources.registry["Software\\Ferncastle|ChannelID"] = "2002";
    InstallationContext c = CollectInstallationContext(sources);
    EXPECT_EQ(c.appId, "Ferncastle");
    EXPECT_EQ(c.channel, "2002");
    for (const auto& call : sources.calls)
        EXPECT_NE(call, "Config ChannelID") << "the file is not asked when the registry answers";
}

TEST(InstallContext, EmptyRegistryChannelFallsBackToTheFile)
{
    FakeSources sources;
    sources.SetConfig("AppId", "Ferncastle");
    sources.SetConfig("ChannelID", "1001");
    sources.registry["Software\\Ferncastle|ChannelID"] = "";
    EXPECT_EQ(CollectInstallationContext(sources).channel, "1001");
}

TEST(InstallContext, IdentifierIsTakenVerbatimIntoTheKeyPath)
{
    FakeSources sources;
    sources.SetConfig("AppId", "\\Odd Name\\");
    sources.registry["Software\\\\Odd Name\\|ChannelID"] = "7";
    EXPECT_EQ(CollectInstallationContext(sources).channel, "7");
}

TEST(InstallContext, EmptyIdentifierAsksThePlainSoftwareKey)
{
    FakeSources sources;
    sources.registry["Software\\|ChannelID"] = "9";
    EXPECT_EQ(CollectInstallationContext(sources).channel, "9");
}

} // namespace
