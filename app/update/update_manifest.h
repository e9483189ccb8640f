#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the update-information server offers, as its answer states it.
struct UpdateManifest {
    int updateType = 0; // greater than 0: an update is offered
    std::string downloadUrl;
    std::string fileMd5;
    int64_t fileSize = 0;
    std::string latestVersion;
    std::vector<std::string> info;
    // Base64 of the vendor's signature over the package (package_signature.h);
    // empty when the server sends none.
    std::string fileSig;
};

// How the server judged the query: ok only for a readable answer whose
// "code" is 0.
struct AnswerOutcome {
    bool ok = true;
    int code = -1;
    std::string desc;
};

// Reads the server's JSON answer (narrow text). `manifest` is written only
// when the answer is accepted; an answer whose members have types that cannot
// be converted is not accepted.
AnswerOutcome ParseUpdateAnswer(const std::string& text, UpdateManifest& manifest);
