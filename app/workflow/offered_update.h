// What an update check hands to the download: the offer, and the check
// itself as the window runs it.
#pragma once

#include <functional>
#include <string>

#include "update_manifest.h"

// What a check that offers an update leaves for the download.
struct OfferedUpdate {
    std::wstring url;
    std::wstring path;
    UpdateManifest manifest;
    // The product and channel this updater named in its query, as it sent
    // them: what a vendor signature must have been made for.
    std::string appId;
    std::string channel;
};

// The update check: true when a package is to be fetched, with `offer`
// filled. Runs on the UI thread.
using UpdateCheck = std::function<bool(OfferedUpdate& offer)>;
