#include "code_page.h"

#include <windows.h>

namespace base {

namespace {
UINT Windows(CodePage page)
{
    return page == CodePage::Utf8 ? CP_UTF8 : CP_ACP;
}
} // namespace

int DecodeText(CodePage page, const char* text, int length, wchar_t* out, int outCount)
{
    return MultiByteToWideChar(Windows(page), 0, text, length, out, out ? outCount : 0);
}

int EncodeText(CodePage page, const wchar_t* text, int length, char* out, int outCount)
{
    return WideCharToMultiByte(Windows(page), 0, text, length, out, out ? outCount : 0, nullptr, nullptr);
}

} // namespace base
