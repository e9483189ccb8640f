#include "update_query.h"

#include "wininet_http.h"

std::string DefaultRequestPrefix()
{
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
