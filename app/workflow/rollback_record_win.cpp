#include "rollback_record.h"

#include <windows.h>

#include "base/unique_handle.h"

namespace {

std::string ValueName(const std::string& channel)
{
    return "HighestStarted." + channel;
}

} // namespace

std::string RollbackRecordKey(const std::string& appId)
{
    return "Software\\Ferncastle\\Updater\\" + appId;
}

std::string HighestStartedVersion(const std::string& appId, const std::string& channel)
{
    // Longer than any version the guard can read (4 parts of 9 digits).
    char text[64] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_CURRENT_USER, RollbackRecordKey(appId).c_str(), ValueName(channel).c_str(), RRF_RT_REG_SZ,
                     nullptr, text, &size) != ERROR_SUCCESS)
        return std::string();
    return text;
}

bool RecordStartedVersion(const std::string& appId, const std::string& channel, const std::string& version)
{
    base::UniqueRegKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, RollbackRecordKey(appId).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExA(key.get(), ValueName(channel).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(version.c_str()), DWORD(version.size() + 1)) == ERROR_SUCCESS;
}
