// Arbitrary answer bodies: reading them must never throw or crash, and an
// answer that is not accepted must leave the caller's manifest alone.
#include <cstdint>
#include <string>

#include "update_manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    UpdateManifest manifest;
    manifest.updateType = -77;
    manifest.info.push_back("sentinel");
    AnswerOutcome outcome = ParseUpdateAnswer(text, manifest);
    if (!outcome.ok && (manifest.updateType != -77 || manifest.info.size() != 1))
        __builtin_trap();
    if (outcome.ok && outcome.code != 0)
        __builtin_trap();
    return 0;
}
