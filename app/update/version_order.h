#pragma once

#include <string>

// The order of release versions, for the rollback guard: dotted decimal
// numbers of at most 4 parts of at most 9 digits each. Missing trailing parts
// count as 0 (1.2 is 1.2.0), leading zeros are ignored (1.02 is 1.2); any
// other text is unparsable.
enum class VersionOrder { Lower, Equal, Higher, Unparsable };

// How `version` compares with `reference`; Unparsable when either is.
VersionOrder CompareVersions(const std::string& version, const std::string& reference);

// Whether `version` is a version in the above sense.
bool IsParsableVersion(const std::string& version);

// The rollback guard's decision on a signed offer of `offered` when the
// highest version started for its product and channel is `highestStarted`
// (empty when none was): an unparsable offer is refused, and so is one lower
// than what was started; the same one may be retried. A record that does not
// parse refuses every offer: it is not ours, and guessing would let an older
// release through.
bool PassesRollbackGuard(const std::string& offered, const std::string& highestStarted);
