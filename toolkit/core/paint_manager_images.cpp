// The image registry and the parsed draw strings of the paint manager, and
// the process-wide colour adjustment of images.
#include "paint_manager.h"

#include "draw_info.h"
#include "image_info.h"
#include "render_engine.h"
#include "skin_pixels.h"
#include "skin_values.h"

#include <memory>

namespace SkinUI {

short CPaintManagerUI::m_H = 180;
short CPaintManagerUI::m_S = 100;
short CPaintManagerUI::m_L = 100;
bool CPaintManagerUI::m_bUseHSL = false;

namespace {

// Images that use HSL show their kept pixels, adjusted while adjustment is on.
void AdjustImages(CStdStringPtrMap& images, bool use, short h, short s, short l)
{
    GdiFlush();
    for (int i = 0; i < images.GetSize(); ++i) {
        auto* image = static_cast<tagTImageInfo*>(images.Find(images.GetAt(i), false));
        if (!image || !image->bUseHSL || image->srcBits.empty() || !image->pBits) {
            continue;
        }
        if (use) {
            AdjustPixelsHSL(image->srcBits.data(), image->pBits, image->srcBits.size(), h, s, l);
        } else {
            std::copy(image->srcBits.begin(), image->srcBits.end(), image->pBits);
        }
    }
}

short Clamp(short value, short high)
{
    return value < 0 ? 0 : value > high ? high : value;
}

} // namespace

const tagTImageInfo* CPaintManagerUI::AddImage(const wchar_t* name, const wchar_t* type, DWORD mask, bool useHSL,
                                               bool shared, HINSTANCE instance)
{
    if (!name || !*name) {
        return nullptr;
    }
    std::unique_ptr<tagTImageInfo> image;
    if (type && *type) {
        // A resource of the program, by number.
        const LONG id = ReadSkinInt(name);
        if (name[0] >= L'0' && name[0] <= L'9' && id > 0 && id <= 0xFFFF) {
            image.reset(CRenderEngine::LoadImage(STRINGorID(static_cast<UINT>(id)), type, mask, instance));
        }
    } else {
        image.reset(CRenderEngine::LoadImage(name, nullptr, mask, instance));
    }
    if (!image) {
        return nullptr;
    }
    image->bUseHSL = useHSL;
    image->sResType = type;
    image->dwMask = mask;
    if (useHSL) {
        const size_t count = static_cast<size_t>(image->nX) * static_cast<size_t>(image->nY);
        image->srcBits.assign(image->pBits, image->pBits + count);
        if (m_bUseHSL) {
            AdjustPixelsHSL(image->srcBits.data(), image->pBits, count, m_H, m_S, m_L);
        }
    }
    m_missingImages.Remove(name);
    if (!ReplaceEntry(TargetResInfo(shared).m_ImageHash, name, image.get())) {
        return nullptr;
    }
    return image.release();
}

const tagTImageInfo* CPaintManagerUI::GetImage(const wchar_t* name)
{
    if (const auto* image = static_cast<const tagTImageInfo*>(m_ResInfo.m_ImageHash.Find(name))) {
        return image;
    }
    return static_cast<const tagTImageInfo*>(m_SharedResInfo.m_ImageHash.Find(name));
}

const tagTImageInfo* CPaintManagerUI::GetImageEx(const wchar_t* name, const wchar_t* type, DWORD mask, bool useHSL,
                                                 HINSTANCE instance)
{
    if (const tagTImageInfo* image = GetImage(name)) {
        return image;
    }
    if (!name || m_missingImages.Find(name)) {
        return nullptr;
    }
    const tagTImageInfo* image = AddImage(name, type, mask, useHSL, false, instance);
    if (!image) {
        m_missingImages.Set(name, this);
    }
    return image;
}

void CPaintManagerUI::RemoveImage(const wchar_t* name, bool shared)
{
    RemoveEntry<tagTImageInfo>(TargetResInfo(shared).m_ImageHash, name);
}

void CPaintManagerUI::RemoveAllImages(bool shared)
{
    m_missingImages.RemoveAll();
    TargetResInfo(shared).RemoveAllImages();
}

// Keyed by the draw string's length as well, so that no two pairs of
// strings share a key ("a" + "bc" and "ab" + "c" differ).
const tagTDrawInfo* CPaintManagerUI::GetDrawInfo(const wchar_t* drawString, const wchar_t* modify)
{
    const CSkinString draw(drawString);
    CSkinString key;
    key.SmallFormat(L"%d:", draw.GetLength());
    key += draw;
    key += modify;
    if (const auto* info = static_cast<const tagTDrawInfo*>(m_ResInfo.m_DrawInfoHash.Find(key))) {
        return info;
    }
    auto info = std::make_unique<tagTDrawInfo>();
    info->Parse(drawString, modify, static_cast<int>(GetDPIObj()->GetScale()));
    if (!ReplaceEntry(m_ResInfo.m_DrawInfoHash, key, info.get())) {
        return nullptr;
    }
    return info.release();
}

void CPaintManagerUI::AdjustImagesHSL()
{
    AdjustImages(m_ResInfo.m_ImageHash, m_bUseHSL, m_H, m_S, m_L);
}

void CPaintManagerUI::SetHSL(bool use, short H, short S, short L)
{
    if (!m_bUseHSL && !use) {
        return;
    }
    const bool changed = m_bUseHSL != use;
    m_bUseHSL = use;
    if (!changed && H == m_H && S == m_S && L == m_L) {
        return;
    }
    m_H = Clamp(H, 360);
    m_S = Clamp(S, 200);
    m_L = Clamp(L, 200);
    AdjustImages(m_SharedResInfo.m_ImageHash, m_bUseHSL, m_H, m_S, m_L);
    CStdPtrArray& managers = LiveManagers();
    for (int i = 0; i < managers.GetSize(); ++i) {
        static_cast<CPaintManagerUI*>(managers[i])->AdjustImagesHSL();
    }
}

bool CPaintManagerUI::GetHSL(short* H, short* S, short* L)
{
    if (H) {
        *H = m_H;
    }
    if (S) {
        *S = m_S;
    }
    if (L) {
        *L = m_L;
    }
    return m_bUseHSL;
}

} // namespace SkinUI
