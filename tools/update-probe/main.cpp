// update-probe: a console tool for people who run update servers. It fills
// the update request from this machine and installation (or from values given
// on the command line), sends the signed query to a server and prints the
// request, the query text, the outcome and the offered manifest as JSON. With
// --download it also fetches the offered package.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "code_page.h"
#include "download_file.h"
#include "install_context_win.h"
#include "update_query.h"

namespace {

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char escaped[8];
                snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += char(c);
            }
        }
    }
    return out + "\"";
}

const char* Bool(bool value)
{
    return value ? "true" : "false";
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

    printf("{\n  \"request\": {\n");
    printf("    \"appId\": %s,\n", JsonString(request.appId).c_str());
    printf("    \"uid\": %s,\n", JsonString(request.uid).c_str());
    printf("    \"version\": %s,\n", JsonString(request.version).c_str());
    printf("    \"channel\": %s,\n", JsonString(request.channel).c_str());
    printf("    \"osVersion\": %s,\n", JsonString(request.osVersion).c_str());
    printf("    \"reqType\": %d,\n", int(request.reqType));
    printf("    \"ts\": %lld\n  },\n", static_cast<long long>(request.ts));
    printf("  \"queryText\": %s", JsonString(BuildQueryText(MakeQueryParameters(request))).c_str());
    if (!query) {
        printf("\n}\n");
        return 0;
    }
    printf(",\n  \"address\": %s,\n", JsonString(prefix + BuildSignedData(MakeQueryParameters(request))).c_str());
    fflush(stdout);

    UpdateManifest manifest;
    const UpdateQueryResult result = QueryUpdateInfo(request, manifest, prefix);
    printf("  \"outcome\": {\"requestOk\": %s, \"requestError\": %d, \"answerOk\": %s, \"code\": %d, \"desc\": %s},\n",
           Bool(result.requestOk), result.requestError, Bool(result.answerOk), result.code,
           JsonString(result.desc).c_str());
    printf("  \"manifest\": {\"updateType\": %d, \"downloadUrl\": %s, \"fileMd5\": %s, \"fileSize\": %lld, "
           "\"latestVersion\": %s, \"info\": [",
           manifest.updateType, JsonString(manifest.downloadUrl).c_str(), JsonString(manifest.fileMd5).c_str(),
           static_cast<long long>(manifest.fileSize), JsonString(manifest.latestVersion).c_str());
    for (size_t i = 0; i < manifest.info.size(); ++i)
        printf("%s%s", i ? ", " : "", JsonString(manifest.info[i]).c_str());
    printf("]}");

    const bool accepted = result.requestOk && result.answerOk;
    bool downloadOk = true;
    if (!downloadPath.empty()) {
        ProbeOwner owner;
        if (accepted && manifest.updateType > 0)
            DownloadFile(AnsiToWide(manifest.downloadUrl), AnsiToWide(downloadPath), &owner);
        downloadOk = owner.complete;
        printf(",\n  \"download\": {\"path\": %s, \"complete\": %s}", JsonString(downloadPath).c_str(),
               Bool(owner.complete));
    }
    printf("\n}\n");
    return accepted && downloadOk ? 0 : 1;
}
