// Arbitrary narrow text through the code-page conversions every text from
// the server, Config.cfg, the registry and the skin passes: the counting and
// the writing run must agree, a buffer one too small is refused without a
// write past it, wide characters are always code points, and text that
// decodes without replacement characters comes back byte for byte.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/code_page.h"
#include "code_page.h"

namespace {

std::wstring Decode(base::CodePage page, const char* text, int length)
{
    const int count = base::DecodeText(page, text, length, nullptr, 0);
    if (count < 0)
        __builtin_trap();
    // Exact sizes, so that AddressSanitizer sees a write past the end.
    std::vector<wchar_t> out(static_cast<size_t>(count));
    if (count > 0 && base::DecodeText(page, text, length, out.data(), count) != count)
        __builtin_trap();
    if (count > 1) {
        std::vector<wchar_t> small(static_cast<size_t>(count - 1));
        if (base::DecodeText(page, text, length, small.data(), count - 1) != 0)
            __builtin_trap();
    }
    for (wchar_t c : out)
        if (static_cast<uint32_t>(c) > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            __builtin_trap();
    return std::wstring(out.begin(), out.end());
}

std::string Encode(base::CodePage page, const std::wstring& text)
{
    const int length = static_cast<int>(text.size());
    const int count = base::EncodeText(page, text.data(), length, nullptr, 0);
    std::vector<char> out(static_cast<size_t>(count));
    if (count > 0 && base::EncodeText(page, text.data(), length, out.data(), count) != count)
        __builtin_trap();
    if (count > 1) {
        std::vector<char> small(static_cast<size_t>(count - 1));
        if (base::EncodeText(page, text.data(), length, small.data(), count - 1) != 0)
            __builtin_trap();
    }
    return std::string(out.begin(), out.end());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (base::CodePage page : {base::CodePage::Utf8, base::CodePage::Ansi}) {
        const std::wstring wide = Decode(page, text.data(), static_cast<int>(text.size()));
        const std::string back = Encode(page, wide);
        if (wide.find(L'\xFFFD') == std::wstring::npos && back != text)
            __builtin_trap();
        if (Decode(page, back.data(), static_cast<int>(back.size())) != wide)
            __builtin_trap();
        // A length of -1 reads up to and including the first zero byte.
        const std::wstring terminated = Decode(page, text.c_str(), -1);
        if (terminated.empty() || terminated.back() != L'\0' ||
            terminated.compare(0, terminated.size() - 1, Decode(page, text.c_str(), int(strlen(text.c_str())))) != 0)
            __builtin_trap();
        // The whole-text forms keep embedded zeros.
        if (base::ToWide(page, text) != wide || base::FromWide(page, wide) != back)
            __builtin_trap();
    }
    // The client's own names for them, as the answer and the package name use them.
    if (Utf8ToWide(text) != base::ToWide(base::CodePage::Utf8, text) ||
        WideToAnsi(AnsiToWide(text)) != base::FromWide(base::CodePage::Ansi, base::ToWide(base::CodePage::Ansi, text)))
        __builtin_trap();
    return 0;
}
