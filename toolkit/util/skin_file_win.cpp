#include "skin_file.h"

#include <share.h>
#include <stdio.h>

namespace SkinUI {

FILE* SkinOpenFileForRead(const wchar_t* path)
{
    return _wfsopen(path, L"rb", _SH_DENYWR);
}

int SkinSeekFile(FILE* file, int64_t offset, int origin)
{
    return _fseeki64(file, offset, origin);
}

int64_t SkinTellFile(FILE* file)
{
    return _ftelli64(file);
}

} // namespace SkinUI
