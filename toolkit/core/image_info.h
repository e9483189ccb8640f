// A loaded image: a top-down 32-bit DIB section of premultiplied pixels.
#pragma once

#include "skin_string.h"

#include <cstdint>
#include <vector>
#include <windows.h>

namespace SkinUI {

struct tagTImageInfo {
    tagTImageInfo() = default;
    tagTImageInfo(const tagTImageInfo&) = delete;
    tagTImageInfo& operator=(const tagTImageInfo&) = delete;
    ~tagTImageInfo();

    // Owned; its pixels are pBits, nX * nY words 0xAARRGGBB.
    HBITMAP hBitmap = nullptr;
    uint32_t* pBits = nullptr;
    int nX = 0;
    int nY = 0;
    // Some pixel is not opaque or was masked out.
    bool bAlpha = false;
    // Set by the image registry.
    bool bUseHSL = false;
    CSkinString sResType;
    DWORD dwMask = 0;
    // The pixels before colour adjustment, kept for images that use it.
    std::vector<uint32_t> srcBits;
};

typedef tagTImageInfo TImageInfo;

} // namespace SkinUI
