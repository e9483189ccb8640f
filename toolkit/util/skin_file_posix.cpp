#include "skin_file.h"

#include "skin_text.h"

#include <sys/types.h>
#include <vector>

namespace SkinUI {

FILE* SkinOpenFileForRead(const wchar_t* path)
{
    const int bytes = SkinEncodeText(SkinCodePage::Utf8, path, -1, nullptr, 0);
    if (bytes <= 0) {
        return nullptr;
    }
    std::vector<char> name(static_cast<size_t>(bytes));
    SkinEncodeText(SkinCodePage::Utf8, path, -1, name.data(), bytes);
    return fopen(name.data(), "rb");
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
