#include "skin_archive_open.h"

#include "skin_text.h"

#include <string>

namespace SkinUI {

namespace {

std::string ToAnsi(const wchar_t* text)
{
    if (!text || !*text) {
        return std::string();
    }
    const int bytes = SkinEncodeText(SkinCodePage::Ansi, text, -1, nullptr, 0);
    if (bytes <= 1) {
        return std::string();
    }
    std::string result(static_cast<size_t>(bytes), '\0');
    SkinEncodeText(SkinCodePage::Ansi, text, -1, &result[0], bytes);
    result.resize(static_cast<size_t>(bytes) - 1);
    return result;
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
