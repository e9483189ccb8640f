// update-probe: a console tool for people who run update servers. It fills
// the update request from this machine and installation (or from values given
// on the command line), sends the signed query to a server and prints the
// request, the query text, the outcome and the offered manifest as JSON. With
// --download it also fetches the offered package and checks it as a release
// is checked before it is published: against the announced size and MD5 and,
// with --vendor-key, the vendor's signature.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <json/json.h>

#include "base/code_page.h"
#include "code_page.h"
#include "download_file.h"
#include "install_context_win.h"
#include "md5.h"
#include "package_check.h"
#include "package_proxy.h"
#include "package_signature.h"
#include "sha256.h"
#include "update_query.h"
#include "version_order.h"

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
    fputs("usage: update-probe [--server HOST[:PORT]] [--download PATH] [--vendor-key KEY] [--app-id ID]\n"
          "                    [--channel CH] [--uid UID] [--os NAME] [--ts SECONDS] [--no-query]\n"
          "Fills the update request from this machine (options replace single values),\n"
          "sends the signed query to the server (default: the built-in one) and prints\n"
          "the request, the query text, the outcome and the manifest as JSON. With\n"
          "--download the offered package is fetched to PATH and compared with the\n"
          "announced size and MD5; with --vendor-key (Base64 Ed25519 public key) its\n"
          "signature is checked as a keyed updater checks it, for this app id and channel.\n"
          "Exit code: 0 when the answer was accepted (and the download, if asked for,\n"
          "is complete and passes every check), 1 otherwise, 2 for a usage error.\n",
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

const char* VerdictName(SignatureVerdict verdict)
{
    switch (verdict) {
    case SignatureVerdict::Valid:
        return "valid";
    case SignatureVerdict::Missing:
        return "missing";
    case SignatureVerdict::MalformedKey:
        return "malformed key";
    case SignatureVerdict::MalformedSignature:
        return "malformed signature";
    case SignatureVerdict::AppIdNotAscii:
        return "app id not printable ASCII";
    case SignatureVerdict::ChannelNotAscii:
        return "channel not printable ASCII";
    case SignatureVerdict::VersionNotAscii:
        return "version not printable ASCII";
    case SignatureVerdict::Mismatch:
        break;
    }
    return "mismatch";
}

// Size, MD5 and SHA-256 of the file at `path`; false when it cannot be read.
bool MeasureFile(const std::string& path, uint64_t& size, std::string& md5Hex, std::string& sha256Hex)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in)
        return false;
    Md5Stream md5;
    Sha256Stream sha256;
    std::vector<char> buffer(64 * 1024);
    size = 0;
    while (in) {
        in.read(buffer.data(), std::streamsize(buffer.size()));
        const size_t read = size_t(in.gcount());
        md5.Update(buffer.data(), read);
        sha256.Update(buffer.data(), read);
        size += read;
    }
    md5Hex = md5.HexDigest();
    sha256Hex = sha256.HexDigest();
    return in.eof();
}

} // namespace

int main(int argc, char** argv)
{
    UpdateRequest request = FillUpdateRequest();
    std::string prefix = DefaultRequestPrefix();
    std::string downloadPath;
    std::string vendorKey;
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
        else if (name == "--vendor-key")
            vendorKey = value;
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
        if (accepted && manifest.updateType > 0) {
            // The download only makes a new file: the operator's earlier one goes first.
            const std::wstring path = AnsiToWide(downloadPath);
            DeleteFileW(path.c_str());
            DownloadFile(AnsiToWide(manifest.downloadUrl), path, &owner);
        }
        Json::Value& download = out["download"];
        download["path"] = Text(downloadPath);
        if (accepted && manifest.updateType > 0) {
            // The download's own choice, kept for the process.
            const std::wstring proxy = PackageProxyFor(AnsiToWide(manifest.downloadUrl), [] { return false; });
            download["proxy"] = proxy.empty() ? Json::Value("direct") : Text(WideToAnsi(proxy));
        }
        download["complete"] = owner.complete;
        uint64_t size = 0;
        std::string md5Hex, sha256Hex;
        downloadOk = owner.complete && MeasureFile(downloadPath, size, md5Hex, sha256Hex);
        if (downloadOk) {
            download["size"] = Json::UInt64(size);
            download["md5"] = md5Hex;
            download["sha256"] = sha256Hex;
            // What the answer did not announce is not compared (null).
            download["sizeMatches"] =
                manifest.fileSize > 0 ? Json::Value(uint64_t(manifest.fileSize) == size) : Json::Value();
            UpdateManifest md5Only = manifest;
            md5Only.fileSize = 0;
            download["md5Matches"] =
                AnnouncesMd5(manifest) ? Json::Value(MatchesAnnouncement(md5Only, size, md5Hex)) : Json::Value();
            downloadOk = MatchesAnnouncement(manifest, size, md5Hex);
            if (!vendorKey.empty()) {
                const SignatureVerdict verdict =
                    CheckPackageSignature(vendorKey, manifest.fileSig,
                                          {request.appId, request.channel, manifest.latestVersion}, sha256Hex, size);
                download["signature"] = VerdictName(verdict);
                // A keyed updater compares the version with the last it started.
                download["versionParsable"] = IsParsableVersion(manifest.latestVersion);
                downloadOk =
                    downloadOk && verdict == SignatureVerdict::Valid && IsParsableVersion(manifest.latestVersion);
            }
        }
    }
    Print(out);
    return accepted && downloadOk ? 0 : 1;
}
