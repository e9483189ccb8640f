// Opening and positioning files by wide path name: _wfopen on Windows, the
// UTF-8 form of the name on the host.
#pragma once

#include <cstdint>
#include <cstdio>

namespace SkinUI {

FILE* SkinOpenFileForRead(const wchar_t* path);
int SkinSeekFile(FILE* file, int64_t offset, int origin);
int64_t SkinTellFile(FILE* file);

} // namespace SkinUI
