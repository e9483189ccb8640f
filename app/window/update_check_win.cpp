#include "update_check_win.h"

#include "code_page.h"
#include "install_context_win.h"
#include "package_check.h"
#include "package_folder.h"
#include "update_query.h"

bool CheckForUpdate(OfferedUpdate& offer)
{
    const UpdateRequest request = FillUpdateRequest();
    UpdateManifest manifest;
    const UpdateQueryResult result = QueryUpdateInfo(request, manifest);
    if (!IsUpdateOffered(result, manifest))
        return false;
    const std::wstring path = NewPackagePath(request.channel);
    if (path.empty())
        return false;
    offer.url = AnsiToWide(manifest.downloadUrl);
    offer.path = path;
    offer.manifest = manifest;
    offer.appId = request.appId;
    offer.channel = request.channel;
    return true;
}
