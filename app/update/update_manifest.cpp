#include "update_manifest.h"

#include <json/json.h>

#include <exception>
#include <memory>

namespace {

// Reads the "data" object into a scratch manifest; jsoncpp throws for members
// whose type it cannot convert.
void ReadData(const Json::Value& data, UpdateManifest& manifest)
{
    manifest.downloadUrl = data["downloadUrl"].asString();
    manifest.fileMd5 = data["fileMd5"].asString();
    manifest.fileSize = data["fileSize"].asInt64();
    manifest.latestVersion = data["latestVersion"].asString();
    manifest.updateType = data["updateType"].asInt();
    const Json::Value info = data["info"];
    for (Json::ArrayIndex i = 0; i < info.size(); ++i)
        manifest.info.push_back(info[i].asString());
    manifest.fileSig = data["fileSig"].asString();
}

} // namespace

AnswerOutcome ParseUpdateAnswer(const std::string& text, UpdateManifest& manifest)
{
    AnswerOutcome outcome;
    try {
        Json::CharReaderBuilder builder;
        std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
        Json::Value root;
        std::string errors;
        if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors)) {
            outcome.ok = false;
            return outcome;
        }
        outcome.code = root["code"].asInt();
        outcome.desc = root["desc"].asString();
        if (outcome.code != 0) {
            outcome.ok = false;
            return outcome;
        }
        // The caller's manifest changes only once the whole answer was read.
        UpdateManifest read = manifest;
        ReadData(root["data"], read);
        manifest = std::move(read);
    } catch (const std::exception&) {
        return AnswerOutcome{false, -1, std::string()};
    }
    return outcome;
}
