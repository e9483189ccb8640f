// update-probe: a console tool for people who run update servers. It fills
// the update request from this machine and installation (or from values
// given on the command line) and prints it as JSON.
#include <cstdio>
#include <cstring>
#include <string>

#include "install_context_win.h"

namespace {

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
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

void Usage()
{
    fputs("usage: update-probe [--app-id ID] [--channel CH] [--uid UID] [--os NAME] [--ts SECONDS]\n"
          "Fills the update request from this machine and prints it as JSON;\n"
          "each option replaces the value the machine gave.\n",
          stderr);
}

}  // namespace

int main(int argc, char** argv)
{
    UpdateRequest request = FillUpdateRequest();
    for (int i = 1; i < argc; ++i) {
        const char* name = argv[i];
        if (strcmp(name, "--help") == 0 || strcmp(name, "-h") == 0) {
            Usage();
            return 0;
        }
        if (i + 1 >= argc) {
            Usage();
            return 2;
        }
        const char* value = argv[++i];
        if (strcmp(name, "--app-id") == 0)
            request.appId = value;
        else if (strcmp(name, "--channel") == 0)
            request.channel = value;
        else if (strcmp(name, "--uid") == 0)
            request.uid = value;
        else if (strcmp(name, "--os") == 0)
            request.osVersion = value;
        else if (strcmp(name, "--ts") == 0)
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
    printf("    \"ts\": %lld\n", static_cast<long long>(request.ts));
    printf("  }\n}\n");
    return 0;
}
