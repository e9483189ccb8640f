#include "update_query.h"

#include <windows.h>

#include "wininet_http.h"

std::string DefaultRequestPrefix()
{
#ifdef FERNCASTLE_TEST_CONFIG
    // The test configuration reaches the project's own server on loopback.
    char server[256] = {};
    const DWORD length = GetEnvironmentVariableA("FERNCASTLE_UPDATE_SERVER", server, sizeof server);
    if (length > 0 && length < sizeof server)
        return MakeRequestPrefix(server);
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
