#pragma once

#include <string>

#include "install_context.h"

// The executable's folder, ending with a backslash.
std::string GetModuleDir();
std::string ReadConfigValue(const std::string& path, const std::string& section, const std::string& key);
// Reads a value of at most 256 bytes under HKEY_CURRENT_USER\keyPath.
bool ReadRegistryString(const std::string& keyPath, const std::string& valueName, std::string& value);

// The request sources of a real Windows machine.
class WindowsRequestSources : public IRequestSources {
public:
    std::string ModuleDir() override;
    std::string ReadConfigValue(const std::string& path, const std::string& section, const std::string& key) override;
    bool ReadRegistryString(const std::string& keyPath, const std::string& valueName, std::string& value) override;
    std::string MachineId() override;
    std::string OsName() override;
    int64_t Now() override;
};

// Fills the update request from this machine and installation.
UpdateRequest FillUpdateRequest();
