#pragma once

#include <string>

#include "base/unique_handle.h"

// The rollback guard's record: the highest version this updater has started
// for a product and channel, kept as the value "HighestStarted.<channel>"
// (REG_SZ) under HKEY_CURRENT_USER\Software\Ferncastle\Updater\<appId>.
// The appId holds no backslash and both are short (a signed offer's rules),
// so they name one key and one value.
class RollbackRecord {
public:
    // Opens the key, creating it, for reading and writing: a record that
    // could not be written after a start would leave the guard off, so a
    // start is refused unless this succeeded.
    bool Open(const std::string& appId, const std::string& channel);
    // The recorded version, empty when there is none; false when a value is
    // there that cannot be read as a text of a version's length.
    bool Read(std::string& version) const;
    // Records `version` as started; false when the registry refused it.
    bool Write(const std::string& version) const;

private:
    base::UniqueRegKey key_;
    std::string value_;
};

// The key that holds the records of `appId`, below HKEY_CURRENT_USER.
std::string RollbackRecordKey(const std::string& appId);
