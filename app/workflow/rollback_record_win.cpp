#include "rollback_record.h"

#include <windows.h>

std::string RollbackRecordKey(const std::string& appId)
{
    return "Software\\Ferncastle\\Updater\\" + appId;
}

bool RollbackRecord::Open(const std::string& appId, const std::string& channel)
{
    value_ = "HighestStarted." + channel;
    return RegCreateKeyExA(HKEY_CURRENT_USER, RollbackRecordKey(appId).c_str(), 0, nullptr, 0,
                           KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key_.put(), nullptr) == ERROR_SUCCESS;
}

bool RollbackRecord::Read(std::string& version) const
{
    version.clear();
    // Longer than any version the guard can read (4 parts of 9 digits).
    char text[64] = {};
    DWORD size = sizeof text;
    const LSTATUS status = RegGetValueA(key_.get(), nullptr, value_.c_str(), RRF_RT_REG_SZ, nullptr, text, &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return true;
    if (status != ERROR_SUCCESS)
        return false;
    version = text;
    return true;
}

bool RollbackRecord::Write(const std::string& version) const
{
    return RegSetValueExA(key_.get(), value_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                          DWORD(version.size() + 1)) == ERROR_SUCCESS;
}
