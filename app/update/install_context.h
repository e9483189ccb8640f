#pragma once

#include <cstdint>
#include <string>

#include "update_request.h"

extern const char kConfigFileName[];
extern const char kConfigSection[];
extern const char kAppIdKey[];
extern const char kChannelKey[];
extern const char kRegistryKeyPrefix[];

// The installation this updater serves.
struct InstallationContext {
    std::string appId;
    std::string channel;
};

// Where the update request's values come from. The Windows implementation
// reads the module path, "Config.cfg", the current user's registry, the
// machine identity and the clock.
class IRequestSources {
public:
    virtual ~IRequestSources() = default;
    virtual std::string ModuleDir() = 0;
    virtual std::string ReadConfigValue(const std::string& path, const std::string& section,
                                        const std::string& key) = 0;
    virtual bool ReadRegistryString(const std::string& keyPath, const std::string& valueName, std::string& value) = 0;
    virtual std::string MachineId() = 0;
    virtual std::string OsName() = 0;
    virtual int64_t Now() = 0;
};

// Application identifier from the file; channel from the registry when it
// holds a non-empty value there, else from the file.
InstallationContext CollectInstallationContext(IRequestSources& sources);

// The complete request: the context first, then the identity and the time.
UpdateRequest FillUpdateRequest(IRequestSources& sources);
