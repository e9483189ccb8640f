#pragma once

#include <string>

// The rollback guard's record: the highest version this updater has started
// for a product and channel, kept as the value "HighestStarted.<channel>"
// (REG_SZ) under HKEY_CURRENT_USER\Software\Ferncastle\Updater\<appId>.
// The appId holds no backslash (a signed offer's rule), so it names one key.

// The recorded version; empty when there is none.
std::string HighestStartedVersion(const std::string& appId, const std::string& channel);

// Records `version` as started; false when the registry refused it.
bool RecordStartedVersion(const std::string& appId, const std::string& channel, const std::string& version);

// The key that holds the records of `appId`, below HKEY_CURRENT_USER.
std::string RollbackRecordKey(const std::string& appId);
