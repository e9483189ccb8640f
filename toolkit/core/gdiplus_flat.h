// The GDI+ flat interface, and owners for the GDI+ objects the render engine
// makes. The caller starts GDI+ (the paint manager does, one per window).
#pragma once

#include <windows.h>

#include <algorithm>
#include <objidl.h>
#ifdef _MSC_VER
// The SDK's GDI+ headers use min and max, which NOMINMAX removes.
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#endif
#include <gdiplus.h>

#include <utility>

namespace SkinUI {

namespace Gdip = Gdiplus::DllExports;

// Delete is the flat function that frees a T.
template <typename T, auto Delete> class CGdipObject {
public:
    CGdipObject() = default;
    CGdipObject(const CGdipObject&) = delete;
    CGdipObject& operator=(const CGdipObject&) = delete;
    ~CGdipObject()
    {
        if (m_object) {
            Delete(m_object);
        }
    }

    T* Get() const { return m_object; }
    // For the flat functions that create the object.
    T** Out() { return &m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    T* m_object = nullptr;
};

using CGdipGraphics = CGdipObject<Gdiplus::GpGraphics, Gdip::GdipDeleteGraphics>;
using CGdipBrush = CGdipObject<Gdiplus::GpSolidFill, Gdip::GdipDeleteBrush>;
using CGdipPen = CGdipObject<Gdiplus::GpPen, Gdip::GdipDeletePen>;
using CGdipPath = CGdipObject<Gdiplus::GpPath, Gdip::GdipDeletePath>;
using CGdipFont = CGdipObject<Gdiplus::GpFont, Gdip::GdipDeleteFont>;
using CGdipStringFormat = CGdipObject<Gdiplus::GpStringFormat, Gdip::GdipDeleteStringFormat>;

} // namespace SkinUI
