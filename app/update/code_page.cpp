#include "code_page.h"

#include "base/code_page.h"

std::wstring Utf8ToWide(const std::string& text)
{
    return base::ToWide(base::CodePage::Utf8, text);
}

std::wstring AnsiToWide(const std::string& text)
{
    return base::ToWide(base::CodePage::Ansi, text);
}

std::string WideToAnsi(const std::wstring& text)
{
    return base::FromWide(base::CodePage::Ansi, text);
}
