// Arbitrary answer bodies, read the way the update check reads them: the
// body as received (UTF-8, through the narrow code page) and as narrow text.
// Reading must never throw or crash; an answer that is not accepted leaves
// the caller's manifest alone; an accepted one is judged by the workflow,
// whose announcement check must agree with what the answer announced.
#include <cctype>
#include <cstdint>
#include <string>

#include "package_check.h"
#include "signed_query.h"
#include "update_manifest.h"

namespace {

UpdateManifest Sentinel()
{
    UpdateManifest manifest;
    manifest.updateType = -77;
    manifest.info.push_back("sentinel");
    return manifest;
}

bool IsSentinel(const UpdateManifest& manifest)
{
    return manifest.updateType == -77 && manifest.info.size() == 1 && manifest.info[0] == "sentinel";
}

bool IsMd5Text(const std::string& text)
{
    if (text.size() != 32)
        return false;
    for (unsigned char c : text)
        if (!isxdigit(c))
            return false;
    return true;
}

// The package that matches the announcement, then packages that differ from
// it in exactly one announced respect.
void CheckAnnouncement(const UpdateManifest& manifest)
{
    const bool sized = manifest.fileSize > 0;
    const bool digested = IsMd5Text(manifest.fileMd5);
    const uint64_t size = sized ? static_cast<uint64_t>(manifest.fileSize) : 12345;
    std::string md5 = digested ? manifest.fileMd5 : std::string(32, '0');
    if (!MatchesAnnouncement(manifest, size, md5))
        __builtin_trap();
    for (char& c : md5)
        c = static_cast<char>(isupper(static_cast<unsigned char>(c)) ? tolower(c) : toupper(c));
    if (!MatchesAnnouncement(manifest, size, md5))
        __builtin_trap();
    if (MatchesAnnouncement(manifest, size + 1, md5) == sized)
        __builtin_trap();
    md5[0] = md5[0] == 'a' || md5[0] == 'A' ? 'b' : 'a';
    if (MatchesAnnouncement(manifest, size, md5) == digested)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    UpdateManifest manifest = Sentinel();
    const AnswerOutcome outcome = ParseUpdateAnswer(text, manifest);
    if (!outcome.ok && !IsSentinel(manifest))
        __builtin_trap();
    if (outcome.ok && outcome.code != 0)
        __builtin_trap();
    if (outcome.ok)
        CheckAnnouncement(manifest);

    UpdateManifest received = Sentinel();
    const UpdateQueryResult result = ReadQueryAnswer(0, text, received);
    if (!result.requestOk || result.requestError != -1 || (!result.answerOk && !IsSentinel(received)))
        __builtin_trap();
    if (IsUpdateOffered(result, received) != (result.answerOk && received.updateType > 0))
        __builtin_trap();

    UpdateManifest untouched = Sentinel();
    const UpdateQueryResult failed = ReadQueryAnswer(12029, text, untouched);
    if (failed.requestOk || failed.requestError != 12029 || !IsSentinel(untouched) ||
        IsUpdateOffered(failed, untouched))
        __builtin_trap();
    return 0;
}
