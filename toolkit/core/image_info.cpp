#include "image_info.h"

namespace SkinUI {

tagTImageInfo::~tagTImageInfo()
{
    if (hBitmap) {
        DeleteObject(hBitmap);
    }
}

} // namespace SkinUI
