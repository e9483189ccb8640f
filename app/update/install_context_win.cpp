#include "install_context_win.h"

#include <windows.h>

#include <ctime>

#include "base/unique_handle.h"
#include "machine_identity.h"

std::string GetModuleDir()
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, length < MAX_PATH ? length : MAX_PATH);
    size_t slash = dir.rfind('\\');
    if (slash == std::string::npos)
        return dir + '\\';
    return dir.substr(0, slash + 1);
}

std::string ReadConfigValue(const std::string& path, const std::string& section, const std::string& key)
{
    char value[1024] = {};
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, path.c_str());
    return std::string(value, length < sizeof value ? length : sizeof value - 1);
}

bool ReadRegistryString(const std::string& keyPath, const std::string& valueName, std::string& value)
{
    base::UniqueRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return false;
    // One byte beyond the stated size keeps a value without terminator bounded.
    char data[257] = {};
    DWORD size = 256;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) !=
        ERROR_SUCCESS)
        return false;
    value = data;
    return true;
}

std::string WindowsRequestSources::ModuleDir()
{
    return GetModuleDir();
}

std::string WindowsRequestSources::ReadConfigValue(const std::string& path, const std::string& section,
                                                   const std::string& key)
{
    return ::ReadConfigValue(path, section, key);
}

bool WindowsRequestSources::ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                                               std::string& value)
{
    return ::ReadRegistryString(keyPath, valueName, value);
}

std::string WindowsRequestSources::MachineId()
{
    return GetMachineId();
}

std::string WindowsRequestSources::OsName()
{
    return GetOsName();
}

int64_t WindowsRequestSources::Now()
{
    return int64_t(time(nullptr));
}

UpdateRequest FillUpdateRequest()
{
    WindowsRequestSources sources;
    return FillUpdateRequest(sources);
}
