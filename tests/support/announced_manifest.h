#pragma once

#include <cstdint>
#include <string>

#include "update_manifest.h"

// An offer announcing a package of `size` bytes with the MD5 `md5`.
inline UpdateManifest Announced(int64_t size, const std::string& md5)
{
    UpdateManifest m;
    m.updateType = 1;
    m.fileSize = size;
    m.fileMd5 = md5;
    return m;
}
