// Arbitrary package bytes arriving in pieces of arbitrary sizes, as the
// download hands them to the worker: the digest taken piece by piece must be
// the MD5 of the whole (checked against an independent implementation), and
// the package must match an announcement of its own size and digest.
#include <algorithm>
#include <cstdint>
#include <string>

#include "md5.h"
#include "package_check.h"
#include "reference_md5.h"

// Input: one byte that sets the piece sizes, then the package.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const size_t step = 1 + data[0] % 97;
    const std::string package(reinterpret_cast<const char*>(data + 1), size - 1);
    Md5Stream stream;
    for (size_t at = 0, piece = step; at < package.size(); at += piece, piece = piece * 7 % 131 + 1)
        stream.Update(package.data() + at, std::min(piece, package.size() - at));
    const std::string md5 = stream.HexDigest();
    if (md5 != ReferenceMd5Hex(package) || md5 != Md5Hex(package))
        __builtin_trap();
    UpdateManifest manifest;
    manifest.fileSize = static_cast<int64_t>(package.size());
    manifest.fileMd5 = md5;
    if (!MatchesAnnouncement(manifest, package.size(), md5) ||
        (!package.empty() && MatchesAnnouncement(manifest, package.size() - 1, md5)))
        __builtin_trap();
    return 0;
}
