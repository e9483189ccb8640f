// Parses arbitrary text as a draw string and its modify string at one of
// several DPI scales, then plans the nine-grid the result describes and
// checks that every piece is sound: never empty or reversed, inside the
// destination and inside the image.
#include "draw_info.h"
#include "fuzz_text.h"
#include "nine_grid.h"
#include "skin_values.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

class CheckingSink : public SkinUI::ISkinBlitSink {
public:
    CheckingSink(const RECT& dest, LONG width, LONG height) : m_dest(dest), m_width(width), m_height(height) {}

    void Blit(const RECT& d, const RECT& s) override
    {
        if (d.left >= d.right || d.top >= d.bottom || s.left >= s.right || s.top >= s.bottom || d.left < m_dest.left ||
            d.right > m_dest.right || d.top < m_dest.top || d.bottom > m_dest.bottom || s.left < 0 || s.top < 0 ||
            s.right > m_width || s.bottom > m_height) {
            abort();
        }
    }

private:
    RECT m_dest;
    LONG m_width, m_height;
};

} // namespace

// Input: one byte choosing the scale and the image size, then UTF-8 text;
// a newline splits the draw string from the modify string.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 4096) {
        return 0;
    }
    static const int kScales[] = {100, 125, 150, 200};
    const int scale = kScales[data[0] & 3];
    const LONG imageWidth = 1 + ((data[0] >> 2) & 7) * 13;
    const LONG imageHeight = 1 + (data[0] >> 5) * 9;
    ++data;
    --size;
    size_t split = 0;
    while (split < size && data[split] != '\n') {
        ++split;
    }
    const std::vector<wchar_t> draw = DecodeFuzzText(data, split);
    const std::vector<wchar_t> modify =
        split < size ? DecodeFuzzText(data + split + 1, size - split - 1) : DecodeFuzzText(data, 0);

    SkinUI::tagTDrawInfo info;
    info.Parse(draw.data(), modify.data(), scale);

    // Place the image the way the render engine does, in a 400 x 300 control.
    const RECT item{0, 0, 400, 300};
    RECT dest = item;
    const RECT& offsets = info.rcDest;
    if (offsets.left != 0 || offsets.top != 0 || offsets.right != 0 || offsets.bottom != 0) {
        dest = RECT{offsets.left, offsets.top, offsets.right < item.right ? offsets.right : item.right,
                    offsets.bottom < item.bottom ? offsets.bottom : item.bottom};
    }
    SkinUI::SkinNineGrid grid{};
    grid.dest = dest;
    grid.paint = item;
    grid.source = info.rcSource;
    grid.corner = info.rcCorner;
    grid.hole = info.bHole;
    grid.xtiled = info.bTiledX;
    grid.ytiled = info.bTiledY;
    grid.opaque = info.uFade == 255;
    CheckingSink sink(dest, imageWidth, imageHeight);
    SkinUI::PlanNineGrid(grid, imageWidth, imageHeight, sink);
    return 0;
}
