// update-probe: a console tool for people who run update servers. It fills
// the update request from this machine and installation (or from values given
// on the command line), sends the signed query to a server and prints the
// request, the query text, the outcome and the offered manifest as JSON. With
// --download it also fetches the offered package.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <json/json.h>

#include "base/code_page.h"
#include "code_page.h"
#include "download_file.h"
#include "install_context_win.h"
#include "update_query.h"

namespace {

// The client's texts are in the ANSI code page; JSON wants Unicode. The
// writer escapes control characters and everything beyond ASCII.
Json::Value Text(const std::string& ansi)
{
    return Json::Value(base::FromWide(base::CodePage::Utf8, AnsiToWide(ansi)));
}

void Print(const Json::Value& value)
{
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "  ";
    const std::string text = Json::writeString(builder, value);
    printf("%s\n", text.c_str());
}

void Usage()
{
    fputs("usage: update-probe [--server HOST[:PORT]] [--download PATH] [--app-id ID] [--channel CH]\n"
          "                    [--uid UID] [--os NAME] [--ts SECONDS] [--no-query]\n"
          "Fills the update request from this machine (options replace single values),\n"
          "sends the signed query to the server (default: the built-in one) and prints\n"
          "the request, the query text, the outcome and the manifest as JSON. With\n"
          "--download the offered package is fetched to PATH.\n"
          "Exit code: 0 when the answer was accepted (and the download, if asked for,\n"
          "is complete), 1 otherwise, 2 for a usage error.\n",
          stderr);
}

// Prints each percentage as it arrives and keeps the outcome.
class ProbeOwner : public IDownloadOwner {
public:
    bool complete = false;
    void SetProgress(int percent) override
    {
        if (last_ < 0)
            fputs("download:", stderr);
        if (percent != last_)
            fprintf(stderr, " %d%%", percent);
        last_ = percent;
    }
    void OnDownloadFinished(bool done) override
    {
        complete = done;
        if (last_ >= 0)
            fputs("\n", stderr);
    }

private:
    int last_ = -1;
};

} // namespace

int main(int argc, char** argv)
{
    UpdateRequest request = FillUpdateRequest();
    std::string prefix = DefaultRequestPrefix();
    std::string downloadPath;
    bool query = true;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help" || name == "-h") {
            Usage();
            return 0;
        }
        if (name == "--no-query") {
            query = false;
            continue;
        }
        if (i + 1 >= argc) {
            Usage();
            return 2;
        }
        const char* value = argv[++i];
        if (name == "--server")
            prefix = MakeRequestPrefix(value);
        else if (name == "--download")
            downloadPath = value;
        else if (name == "--app-id")
            request.appId = value;
        else if (name == "--channel")
            request.channel = value;
        else if (name == "--uid")
            request.uid = value;
        else if (name == "--os")
            request.osVersion = value;
        else if (name == "--ts")
            request.ts = strtoll(value, nullptr, 10);
        else {
            Usage();
            return 2;
        }
    }

    Json::Value out(Json::objectValue);
    Json::Value& fields = out["request"];
    fields["appId"] = Text(request.appId);
    fields["uid"] = Text(request.uid);
    fields["version"] = Text(request.version);
    fields["channel"] = Text(request.channel);
    fields["osVersion"] = Text(request.osVersion);
    fields["reqType"] = Json::Int(request.reqType);
    fields["ts"] = Json::Int64(request.ts);
    out["queryText"] = Text(BuildQueryText(MakeQueryParameters(request)));
    if (!query) {
        Print(out);
        return 0;
    }
    out["address"] = Text(prefix + BuildSignedData(MakeQueryParameters(request)));

    UpdateManifest manifest;
    const UpdateQueryResult result = QueryUpdateInfo(request, manifest, prefix);
    Json::Value& outcome = out["outcome"];
    outcome["requestOk"] = result.requestOk;
    outcome["requestError"] = result.requestError;
    outcome["answerOk"] = result.answerOk;
    outcome["code"] = result.code;
    outcome["desc"] = Text(result.desc);
    Json::Value& offered = out["manifest"];
    offered["updateType"] = manifest.updateType;
    offered["downloadUrl"] = Text(manifest.downloadUrl);
    offered["fileMd5"] = Text(manifest.fileMd5);
    offered["fileSize"] = Json::Int64(manifest.fileSize);
    offered["latestVersion"] = Text(manifest.latestVersion);
    offered["info"] = Json::Value(Json::arrayValue);
    for (const std::string& line : manifest.info)
        offered["info"].append(Text(line));

    const bool accepted = result.requestOk && result.answerOk;
    bool downloadOk = true;
    if (!downloadPath.empty()) {
        ProbeOwner owner;
        if (accepted && manifest.updateType > 0)
            DownloadFile(AnsiToWide(manifest.downloadUrl), AnsiToWide(downloadPath), &owner);
        downloadOk = owner.complete;
        out["download"]["path"] = Text(downloadPath);
        out["download"]["complete"] = owner.complete;
    }
    Print(out);
    return accepted && downloadOk ? 0 : 1;
}
