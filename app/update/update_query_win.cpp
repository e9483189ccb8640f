#include "update_query.h"

#include <windows.h>

#include "wininet_http.h"

std::string DefaultRequestPrefix()
{
#ifdef FERNCASTLE_TEST_CONFIG
    // The test configuration reaches the project's own server on loopback:
    // HOST:PORT, or with a scheme of its own such as "https://HOST:PORT".
    char server[256] = {};
    const DWORD length = GetEnvironmentVariableA("FERNCASTLE_UPDATE_SERVER", server, sizeof server);
    if (length > 0 && length < sizeof server) {
        const std::string origin(server, length);
        if (origin.find("://") != std::string::npos)
            return origin + kUpdateInfoPath;
        return MakeRequestPrefix(origin);
    }
#endif
    return MakeRequestPrefix(FERNCASTLE_UPDATE_HOST);
}

UpdateQueryResult QueryUpdateInfo(const UpdateRequest& request, UpdateManifest& manifest)
{
    return QueryUpdateInfo(request, manifest, DefaultRequestPrefix());
}

UpdateQueryResult QueryUpdateInfo(const UpdateRequest& request, UpdateManifest& manifest,
                                  const std::string& requestPrefix)
{
    const std::string address = requestPrefix + BuildSignedData(MakeQueryParameters(request));
    CWininetHttp http;
    std::string body;
    const int code = http.Request(address, 0, body);
    http.CloseHandles();
    return ReadQueryAnswer(code, body, manifest);
}
