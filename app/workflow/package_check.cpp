#include "package_check.h"

#include <cctype>

namespace {
bool IsMd5Text(const std::string& text)
{
    if (text.size() != 32)
        return false;
    for (unsigned char c : text)
        if (!isxdigit(c))
            return false;
    return true;
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (tolower(static_cast<unsigned char>(a[i])) != tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}
} // namespace

bool IsUpdateOffered(const UpdateQueryResult& result, const UpdateManifest& manifest)
{
    return result.requestOk && result.answerOk && manifest.updateType > 0;
}

bool AnnouncesMd5(const UpdateManifest& manifest)
{
    return IsMd5Text(manifest.fileMd5);
}

bool MatchesAnnouncement(const UpdateManifest& manifest, uint64_t size, const std::string& md5Hex)
{
    if (manifest.fileSize > 0 && static_cast<uint64_t>(manifest.fileSize) != size)
        return false;
    if (IsMd5Text(manifest.fileMd5) && !EqualNoCase(manifest.fileMd5, md5Hex))
        return false;
    return true;
}

bool AnnouncesSizeOrDigest(const UpdateManifest& manifest)
{
    return manifest.fileSize > 0 || IsMd5Text(manifest.fileMd5);
}
