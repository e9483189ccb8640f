// What draws the pieces of an image that a plan, such as a nine-grid's, hands it.
#pragma once

#include "skin_win32_types.h"

namespace SkinUI {

class ISkinBlitSink {
public:
    // dest and source are not empty, source lies inside the image and dest
    // inside the grid's destination. Equal sizes mean a 1:1 copy.
    virtual void Blit(const RECT& dest, const RECT& source) = 0;

protected:
    ~ISkinBlitSink() = default;
};

} // namespace SkinUI
