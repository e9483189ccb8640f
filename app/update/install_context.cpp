#include "install_context.h"

#include "updater_identity.h"

const char kConfigFileName[] = "Config.cfg";
const char kConfigSection[] = "AppInfo";
const char kAppIdKey[] = "AppId";
const char kChannelKey[] = "ChannelID";
const char kRegistryKeyPrefix[] = "Software\\";

InstallationContext CollectInstallationContext(IRequestSources& sources)
{
    InstallationContext context;
    const std::string configPath = sources.ModuleDir() + kConfigFileName;
    context.appId = sources.ReadConfigValue(configPath, kConfigSection, kAppIdKey);
    const std::string keyPath = kRegistryKeyPrefix + context.appId;
    if (!sources.ReadRegistryString(keyPath, kChannelKey, context.channel) || context.channel.empty())
        context.channel = sources.ReadConfigValue(configPath, kConfigSection, kChannelKey);
    return context;
}

UpdateRequest FillUpdateRequest(IRequestSources& sources)
{
    const InstallationContext context = CollectInstallationContext(sources);
    UpdateRequest request;
    request.appId = context.appId;
    request.uid = sources.MachineId();
    request.version = FERNCASTLE_UPDATER_VERSION;
    request.channel = context.channel;
    request.osVersion = sources.OsName();
    request.reqType = 1;
    request.ts = sources.Now();
    return request;
}
