#include "code_page.h"

#include <climits>

namespace base {

namespace {

// Runs a counting converter twice: once for the size, once into the result.
template <typename Out, typename In, typename Converter> Out ConvertWhole(const In& text, Converter convert)
{
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(text.size());
    const int needed = convert(text.data(), length, nullptr, 0);
    if (needed <= 0)
        return {};
    Out out(static_cast<size_t>(needed), typename Out::value_type());
    const int written = convert(text.data(), length, &out[0], needed);
    out.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return out;
}

} // namespace

std::wstring ToWide(CodePage page, const std::string& text)
{
    return ConvertWhole<std::wstring>(text, [page](const char* in, int length, wchar_t* out, int count) {
        return DecodeText(page, in, length, out, count);
    });
}

std::string FromWide(CodePage page, const std::wstring& text)
{
    return ConvertWhole<std::string>(text, [page](const wchar_t* in, int length, char* out, int count) {
        return EncodeText(page, in, length, out, count);
    });
}

} // namespace base
