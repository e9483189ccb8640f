// Finds a skin file by name under the process-wide resource settings of
// CPaintManagerUI: in the skin folder, or in the skin archive (on disk or in
// memory), and reads it whole.
#pragma once

#include "skin_buffer.h"

#include <cstdint>
#include <windows.h>

namespace SkinUI {

enum class SkinReadError { None, OpenFile, Empty, TooLarge, ReadFile, OpenZip, NotInZip, Unzip };

// The loader's message for an error ("File too large", ...); empty for None.
const wchar_t* SkinReadErrorMessage(SkinReadError error);

// Layouts are refused above this size.
constexpr uint32_t kMaxSkinMarkupSize = 4u * 1024u * 1024u;

// Reads a file of the skin (folder or archive); limit 0 means no limit.
SkinReadError ReadSkinFile(const wchar_t* name, uint32_t limit, CSkinBuffer& out);

// Reads image bytes: from the module's resources when type is given,
// otherwise from the skin (after the resource manager's image map); when
// that finds nothing, from name taken as a file path.
bool ReadSkinImageBytes(const wchar_t* name, const wchar_t* type, HINSTANCE module, CSkinBuffer& out);

} // namespace SkinUI
