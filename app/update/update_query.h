#pragma once

#include <string>

#include "signed_query.h"

// The request address prefix of the update-information server this build
// talks to.
std::string DefaultRequestPrefix();

// Sends the signed query for `request` and reads the answer into `manifest`
// (written only when the answer is accepted). Blocks until the exchange ends.
UpdateQueryResult QueryUpdateInfo(const UpdateRequest& request, UpdateManifest& manifest);

// The same against another server, given by its request address prefix.
UpdateQueryResult QueryUpdateInfo(const UpdateRequest& request, UpdateManifest& manifest,
                                  const std::string& requestPrefix);
