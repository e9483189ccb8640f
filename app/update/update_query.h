#pragma once

#include <string>

#include "signed_query.h"

// The request address prefix of the update-information server this build
// talks to.
std::string DefaultRequestPrefix();

// Sends the signed query for `request` and reads the answer into `manifest`
// (written only when the answer is accepted). Blocks until the exchange ends
// or kUpdateCheckDeadlineMs has passed; a request still under way then is
// left to finish on its own thread and counts as failed (kHttpAnswerTooSlow).
UpdateQueryResult QueryUpdateInfo(const UpdateRequest& request, UpdateManifest& manifest);

// The same against another server, given by its request address prefix.
UpdateQueryResult QueryUpdateInfo(const UpdateRequest& request, UpdateManifest& manifest,
                                  const std::string& requestPrefix);
