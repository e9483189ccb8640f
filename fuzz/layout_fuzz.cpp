// Lays out a container described by attribute lists, one per line: the
// first line is the container ("pos" as its rectangle, "inset",
// "childpadding", "childalign", "childvalign", "vertical"), every further
// line a child with the attributes a control reads for its place. Checks
// that no rectangle's width or height leaves 32 bits, and that when every
// child fits, with no negative padding, each lands inside the layout.
#include "attribute_list.h"
#include "control_values.h"
#include "fuzz_text.h"
#include "linear_layout.h"
#include "skin_geometry.h"
#include "skin_values.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

using namespace SkinUI;

namespace {

struct Child {
    tagTLayoutChild layout{false, RECT{}, SIZE{}, SIZE{0, 0}, SIZE{9999, 9999}};
    bool visible = true;
    SIZE fixedXY{};
    unsigned floatAlign = 0;
    tagTPercentInfo percent{};
};

struct Container {
    RECT rc{0, 0, 380, 240};
    RECT inset{};
    int childPadding = 0;
    unsigned childAlign = 0;
    unsigned childVAlign = 0;
    bool vertical = true;
};

// As the control's setters: negative sizes and limits are ignored.
void StoreIfNotNegative(LONG& stored, LONG value)
{
    if (value >= 0) {
        stored = value;
    }
}

void ReadChild(const wchar_t* list, Child& child)
{
    CAttributeListReader reader(list);
    CSkinString name, value;
    while (reader.Next(name, value)) {
        const wchar_t* v = value;
        tagTLayoutChild& c = child.layout;
        if (name == L"pos") {
            const tagTSkinPos pos = ReadSkinPos(v);
            child.fixedXY = pos.fixedXY;
            StoreIfNotNegative(c.fixed.cx, pos.width);
            StoreIfNotNegative(c.fixed.cy, pos.height);
        } else if (name == L"float") {
            c.floating = true;
            child.percent = ReadSkinPercent(v);
        } else if (name == L"floatalign") {
            child.floatAlign = ReadFloatAlign(child.floatAlign, v);
        } else if (name == L"padding") {
            c.padding = ReadSkinRect(v);
        } else if (name == L"width") {
            StoreIfNotNegative(c.fixed.cx, ReadSkinInt(v));
        } else if (name == L"height") {
            StoreIfNotNegative(c.fixed.cy, ReadSkinInt(v));
        } else if (name == L"minwidth") {
            StoreIfNotNegative(c.minSize.cx, ReadSkinInt(v));
        } else if (name == L"minheight") {
            StoreIfNotNegative(c.minSize.cy, ReadSkinInt(v));
        } else if (name == L"maxwidth") {
            StoreIfNotNegative(c.maxSize.cx, ReadSkinInt(v));
        } else if (name == L"maxheight") {
            StoreIfNotNegative(c.maxSize.cy, ReadSkinInt(v));
        } else if (name == L"visible") {
            child.visible = wcscmp(v, L"false") != 0;
        }
    }
}

void ReadContainer(const wchar_t* list, Container& container)
{
    CAttributeListReader reader(list);
    CSkinString name, value;
    while (reader.Next(name, value)) {
        const wchar_t* v = value;
        if (name == L"pos") {
            container.rc = ReadSkinRect(v);
        } else if (name == L"inset") {
            container.inset = ReadSkinRect(v);
        } else if (name == L"childpadding") {
            container.childPadding = ReadSkinInt(v);
        } else if (name == L"childalign") {
            ReadChildAlign(v, container.childAlign);
        } else if (name == L"childvalign") {
            ReadChildVAlign(v, container.childVAlign);
        } else if (name == L"vertical") {
            container.vertical = wcscmp(v, L"false") != 0;
        }
    }
}

void CheckExtent(const RECT& rc)
{
    const int64_t width = int64_t{rc.right} - rc.left;
    const int64_t height = int64_t{rc.bottom} - rc.top;
    if (width > INT32_MAX || width < INT32_MIN || height > INT32_MAX || height < INT32_MIN) {
        abort();
    }
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

class Children final : public ILayoutChildren {
public:
    Children(const std::vector<Child>& children, const RECT& item) : m_children(children), m_item(item) {}

    int GetCount() const override { return static_cast<int>(m_children.size()); }
    bool GetChild(int index, tagTLayoutChild& child) override
    {
        child = At(index).layout;
        return At(index).visible;
    }
    // As a control does: its fixed size, 0 where it stretches.
    SIZE EstimateSize(int index, SIZE) override { return At(index).layout.fixed; }
    void SetPos(int, const RECT& rc) override
    {
        CheckExtent(rc);
        placed.push_back(rc);
    }
    void SetFloatPos(int index) override
    {
        const Child& child = At(index);
        const RECT rc = FloatChildRect(m_item, child.fixedXY, child.layout.fixed, child.floatAlign, child.percent);
        CheckExtent(rc);
        // Placed by its align and offset alone, a child that fits lands inside.
        const LONG width = child.layout.fixed.cx;
        const LONG height = child.layout.fixed.cy;
        const bool fits = child.floatAlign != 0 && child.fixedXY.cx >= 0 && child.fixedXY.cy >= 0 &&
                          int64_t{child.fixedXY.cx} + width <= int64_t{m_item.right} - m_item.left &&
                          int64_t{child.fixedXY.cy} + height <= int64_t{m_item.bottom} - m_item.top;
        if (fits && !Inside(rc, m_item)) {
            abort();
        }
    }

    std::vector<RECT> placed;

private:
    const Child& At(int index) const { return m_children[static_cast<size_t>(index)]; }

    const std::vector<Child>& m_children;
    RECT m_item;
};

// Whether every placed child must land inside the layout: no negative
// length, the fixed lengths and gaps fit along the main axis, each child's
// least width fits across, and stretching children ask for no minimum.
bool AllFit(const std::vector<Child>& children, const tagTLinearLayout& layout, bool vertical)
{
    const int64_t width = int64_t{layout.rc.right} - layout.rc.left;
    const int64_t height = int64_t{layout.rc.bottom} - layout.rc.top;
    const int64_t mainLength = vertical ? height : width;
    const int64_t crossLength = vertical ? width : height;
    if (layout.childPadding < 0 || mainLength < 0 || crossLength < 0) {
        return false;
    }
    int64_t used = 0;
    int placed = 0;
    for (const Child& child : children) {
        const tagTLayoutChild& c = child.layout;
        if (!child.visible || c.floating) {
            continue;
        }
        const RECT& p = c.padding;
        if (p.left < 0 || p.top < 0 || p.right < 0 || p.bottom < 0 || c.minSize.cx > c.maxSize.cx ||
            c.minSize.cy > c.maxSize.cy) {
            return false;
        }
        const LONG fixedMain = vertical ? c.fixed.cy : c.fixed.cx;
        const LONG minMain = vertical ? c.minSize.cy : c.minSize.cx;
        const LONG maxMain = vertical ? c.maxSize.cy : c.maxSize.cx;
        const LONG minCross = vertical ? c.minSize.cx : c.minSize.cy;
        if (fixedMain == 0 && minMain > 0) {
            return false;
        }
        const int64_t mainPadding = vertical ? int64_t{p.top} + p.bottom : int64_t{p.left} + p.right;
        const int64_t crossPadding = vertical ? int64_t{p.left} + p.right : int64_t{p.top} + p.bottom;
        if (minCross + crossPadding > crossLength) {
            return false;
        }
        const int64_t length = fixedMain == 0 ? 0 : std::min<int64_t>(std::max<int64_t>(fixedMain, minMain), maxMain);
        used += length + mainPadding + (placed > 0 ? layout.childPadding : 0);
        ++placed;
    }
    return used <= mainLength;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096) {
        return 0;
    }
    const std::vector<wchar_t> text = DecodeFuzzText(data, size);
    std::vector<std::wstring> lines(1);
    for (const wchar_t* p = text.data(); *p != L'\0'; ++p) {
        if (*p == L'\n') {
            lines.emplace_back();
        } else {
            lines.back().push_back(*p);
        }
    }

    Container container;
    ReadContainer(lines[0].c_str(), container);
    std::vector<Child> children(lines.size() - 1);
    for (size_t i = 1; i < lines.size(); ++i) {
        ReadChild(lines[i].c_str(), children[i - 1]);
    }

    const tagTLinearLayout layout{DeflatedRect(container.rc, container.inset), container.childPadding,
                                  container.childAlign, container.childVAlign};
    CheckExtent(layout.rc);
    Children placed(children, container.rc);
    (container.vertical ? LayOutColumn : LayOutRow)(layout, placed);
    if (AllFit(children, layout, container.vertical)) {
        for (const RECT& rc : placed.placed) {
            if (!Inside(rc, layout.rc)) {
                abort();
            }
        }
    }
    for (const Child& child : children) {
        CheckExtent(StackedChildRect(layout.rc, child.layout.minSize, child.layout.maxSize));
    }
    return 0;
}
