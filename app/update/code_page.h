#pragma once

#include <string>

// Conversions between the client's narrow texts and wide texts. On Windows the
// narrow side is the ANSI code page and wide text is UTF-16; the portable
// build uses UTF-8 as its one narrow code page.
std::wstring Utf8ToWide(const std::string& text);
std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);
