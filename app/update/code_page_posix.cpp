#include "code_page.h"

#include <cerrno>
#include <iconv.h>

namespace {

// Runs iconv over the whole input; an input sequence it cannot convert is
// replaced by `replacement` and skipped one byte (or one unit) at a time.
template <typename Out, typename In>
Out Convert(const char* to, const char* from, const In& input, typename Out::value_type replacement)
{
    Out out;
    if (input.empty())
        return out;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return out;
    using Unit = typename In::value_type;
    char* in = const_cast<char*>(reinterpret_cast<const char*>(input.data()));
    size_t inLeft = input.size() * sizeof(Unit);
    typename Out::value_type chunk[256];
    while (inLeft > 0) {
        char* dst = reinterpret_cast<char*>(chunk);
        size_t dstLeft = sizeof chunk;
        size_t rc = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out.append(chunk, (sizeof chunk - dstLeft) / sizeof chunk[0]);
        if (rc == size_t(-1) && errno != E2BIG) {
            out += replacement;
            in += sizeof(Unit);
            inLeft -= sizeof(Unit);
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::wstring Utf8ToWide(const std::string& text)
{
    return Convert<std::wstring>("WCHAR_T", "UTF-8", text, L'\xFFFD');
}

std::wstring AnsiToWide(const std::string& text)
{
    return Utf8ToWide(text);
}

std::string WideToAnsi(const std::wstring& text)
{
    return Convert<std::string>("UTF-8", "WCHAR_T", text, '?');
}
