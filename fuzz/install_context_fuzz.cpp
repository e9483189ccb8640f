// Arbitrary values in Config.cfg and the registry: the context asks for them
// where the installation keeps them, takes the channel from the registry
// only when it holds a non-empty one there, and the request carries them
// unchanged.
#include <cstdint>
#include <string>

#include "fuzz_split.h"
#include "install_context.h"
#include "updater_identity.h"

namespace {

class FuzzSources : public IRequestSources {
public:
    std::string moduleDir, appId, fileChannel, registryChannel;
    bool registryHasValue = false;
    bool askedRegistry = false;

    std::string ModuleDir() override { return moduleDir; }
    std::string ReadConfigValue(const std::string& path, const std::string& section, const std::string& key) override
    {
        if (path != moduleDir + kConfigFileName || section != kConfigSection)
            __builtin_trap();
        if (key == kAppIdKey)
            return appId;
        if (key == kChannelKey)
            return fileChannel;
        __builtin_trap();
    }
    bool ReadRegistryString(const std::string& keyPath, const std::string& valueName, std::string& value) override
    {
        if (keyPath != kRegistryKeyPrefix + appId || valueName != kChannelKey)
            __builtin_trap();
        askedRegistry = true;
        if (registryHasValue)
            value = registryChannel;
        return registryHasValue;
    }
    std::string MachineId() override { return "0123456789abcdef0123456789abcdef"; }
    std::string OsName() override { return "Microsoft Windows 10"; }
    int64_t Now() override { return 1700000000; }
};

} // namespace

// Input: one flag byte (bit 0: the registry holds the value), then the
// module folder, the file's application identifier and channel and the
// registry's channel, separated by zero bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 4096)
        return 0;
    const std::vector<std::string> texts = SplitFuzzInput(data + 1, size - 1, 4);
    FuzzSources sources;
    sources.registryHasValue = (data[0] & 1) != 0;
    sources.moduleDir = texts[0];
    sources.appId = texts[1];
    sources.fileChannel = texts[2];
    sources.registryChannel = texts[3];

    const InstallationContext context = CollectInstallationContext(sources);
    const bool fromRegistry = sources.registryHasValue && !sources.registryChannel.empty();
    if (!sources.askedRegistry || context.appId != sources.appId ||
        context.channel != (fromRegistry ? sources.registryChannel : sources.fileChannel))
        __builtin_trap();

    const UpdateRequest request = FillUpdateRequest(sources);
    if (request.appId != context.appId || request.channel != context.channel ||
        request.version != FERNCASTLE_UPDATER_VERSION || request.reqType != 1 || request.ts != 1700000000)
        __builtin_trap();
    return 0;
}
