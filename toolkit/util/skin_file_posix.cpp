#include "skin_file.h"

#include "base/code_page.h"

#include <string>
#include <sys/types.h>

namespace SkinUI {

FILE* SkinOpenFileForRead(const wchar_t* path)
{
    const std::string name = path ? base::FromWide(base::CodePage::Utf8, path) : std::string();
    return name.empty() ? nullptr : fopen(name.c_str(), "rb");
}

int SkinSeekFile(FILE* file, int64_t offset, int origin)
{
    return fseeko(file, static_cast<off_t>(offset), origin);
}

int64_t SkinTellFile(FILE* file)
{
    return static_cast<int64_t>(ftello(file));
}

} // namespace SkinUI
