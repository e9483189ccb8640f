#include "skin_archive_open.h"

#include "base/code_page.h"

#include <string>

namespace SkinUI {

namespace {

std::string ToAnsi(const wchar_t* text)
{
    return text ? base::FromWide(base::CodePage::Ansi, text) : std::string();
}

} // namespace

CSkinArchive* OpenSkinArchiveFile(const wchar_t* path, const wchar_t* password)
{
    return CSkinArchive::OpenFile(path, ToAnsi(password).c_str());
}

CSkinArchive* OpenSkinArchiveMemory(const void* data, unsigned int length, const wchar_t* password)
{
    return CSkinArchive::OpenMemory(data, length, ToAnsi(password).c_str());
}

} // namespace SkinUI
