// CMarkup's file loading rests on the skin resource settings, so it lives
// with them rather than in the portable parser.
#include "markup.h"
#include "skin_file_reader.h"

namespace SkinUI {

bool CMarkup::LoadFromFile(const wchar_t* name, int encoding)
{
    Release();
    CSkinBuffer bytes;
    const SkinReadError error = ReadSkinFile(name, kMaxSkinMarkupSize, bytes);
    if (error != SkinReadError::None) {
        return Fail(SkinReadErrorMessage(error), name);
    }
    return LoadFromMem(bytes.GetData(), bytes.GetSize(), encoding);
}

} // namespace SkinUI
