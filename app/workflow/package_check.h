#pragma once

#include <cstdint>
#include <string>

#include "signed_query.h"

// The update check's decision: a package is fetched when the exchange
// succeeded, the answer was accepted and it offers an update.
bool IsUpdateOffered(const UpdateQueryResult& result, const UpdateManifest& manifest);

// Whether a package of `size` bytes with the MD5 `md5Hex` matches what the
// answer announced. Only usable announcements are compared: a fileSize above
// 0, and a fileMd5 of 32 hexadecimal digits (in either case); a missing,
// empty, zero or malformed one is not checked, as older servers leave them so.
bool MatchesAnnouncement(const UpdateManifest& manifest, uint64_t size, const std::string& md5Hex);

// Whether the answer announced an MD5 that MatchesAnnouncement compares.
bool AnnouncesMd5(const UpdateManifest& manifest);

// Whether the answer announced anything MatchesAnnouncement compares.
bool AnnouncesSizeOrDigest(const UpdateManifest& manifest);
