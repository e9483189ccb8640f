// Fuzz input read as UTF-8 text: the wide characters and a terminator.
#pragma once

#include "skin_text.h"

#include <cstddef>
#include <cstdint>
#include <vector>

inline std::vector<wchar_t> DecodeFuzzText(const uint8_t* data, size_t size)
{
    const auto* text = reinterpret_cast<const char*>(data);
    const int length = static_cast<int>(size);
    const int count = size > 0 ? SkinUI::SkinDecodeText(SkinUI::SkinCodePage::Utf8, text, length, nullptr, 0) : 0;
    std::vector<wchar_t> out(static_cast<size_t>(count) + 1, L'\0');
    if (count > 0) {
        SkinUI::SkinDecodeText(SkinUI::SkinCodePage::Utf8, text, length, out.data(), count);
    }
    return out;
}
