#pragma once

#include "offered_update.h"

// The real update check: the installation context, the signed query to the
// update server this build talks to, and the package path in the user's
// temporary folder.
bool CheckForUpdate(OfferedUpdate& offer);
