#include "code_page.h"

#include <windows.h>

namespace {

std::wstring MultiByteToWide(UINT codePage, const std::string& text)
{
    if (text.empty())
        return {};
    int length = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(size_t(length) + 1, L'\0');
    length = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), &wide[0], length + 1);
    wide.resize(length > 0 ? size_t(length) : 0);
    return wide;
}

} // namespace

std::wstring Utf8ToWide(const std::string& text)
{
    return MultiByteToWide(CP_UTF8, text);
}

std::wstring AnsiToWide(const std::string& text)
{
    return MultiByteToWide(CP_ACP, text);
}

std::string WideToAnsi(const std::wstring& text)
{
    if (text.empty())
        return {};
    int length = WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return {};
    std::string narrow(size_t(length) + 1, '\0');
    length = WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), &narrow[0], length + 1, nullptr, nullptr);
    narrow.resize(length > 0 ? size_t(length) : 0);
    return narrow;
}
