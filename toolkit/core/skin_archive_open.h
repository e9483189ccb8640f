// Opening the skin archive with a password given as UTF-16 (the archive
// format takes it in the ANSI code page).
#pragma once

#include "skin_archive.h"

namespace SkinUI {

CSkinArchive* OpenSkinArchiveFile(const wchar_t* path, const wchar_t* password);
CSkinArchive* OpenSkinArchiveMemory(const void* data, unsigned int length, const wchar_t* password);

} // namespace SkinUI
