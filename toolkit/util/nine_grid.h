// Where the pieces of a nine-grid image go. The image's source rectangle is
// split by the corner widths into corners, edges and a middle; corners are
// copied 1:1, edges stretched along their length, the middle stretched or
// repeated as tiles. The plan is pure geometry: a sink does the drawing.
#pragma once

#include "skin_blit_sink.h"
#include "skin_win32_types.h"

namespace SkinUI {

struct SkinNineGrid {
    RECT dest;
    // Pieces that miss it are left out.
    RECT paint;
    // In image pixels; cut to the image.
    RECT source;
    // Border widths; negative ones count as 0.
    RECT corner;
    bool hole;
    bool xtiled;
    bool ytiled;
    // An opaque image of the destination's size without corners is copied
    // only where it meets the paint rectangle.
    bool opaque;
};

// Hands the pieces to sink in drawing order: middle (or its tiles), then
// top-left, top, top-right, left, right, bottom-left, bottom, bottom-right.
void PlanNineGrid(const SkinNineGrid& grid, LONG imageWidth, LONG imageHeight, ISkinBlitSink& sink);

} // namespace SkinUI
