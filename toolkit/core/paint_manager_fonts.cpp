// The font registry of the paint manager.
#include "paint_manager.h"

#include "skin_buffer.h"
#include "skin_file_reader.h"
#include "skin_values.h"

#include <memory>

namespace SkinUI {

namespace {

CSkinString FontKey(int id)
{
    CSkinString key;
    key.SmallFormat(L"%d", id);
    return key;
}

} // namespace

HFONT CPaintManagerUI::CreateScaledFont(const wchar_t* face, int size, bool bold, bool underline, bool italic,
                                        CSkinString& used)
{
    LOGFONTW lf{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    if (face && *face) {
        // At most LF_FACESIZE - 1 characters.
        lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    }
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -GetDPIObj()->Scale(size);
    if (bold) {
        lf.lfWeight = FW_BOLD;
    }
    if (underline) {
        lf.lfUnderline = TRUE;
    }
    if (italic) {
        lf.lfItalic = TRUE;
    }
    used = lf.lfFaceName;
    return CreateFontIndirectW(&lf);
}

HFONT CPaintManagerUI::AddFont(int id, const wchar_t* face, int size, bool bold, bool underline, bool italic,
                               bool shared)
{
    CSkinString used;
    HFONT font = CreateScaledFont(face, size, bold, underline, italic, used);
    if (!font) {
        return nullptr;
    }
    auto info = std::make_unique<tagTFontInfo>();
    info->Assign(font, used, size, bold, underline, italic);
    if (m_hDcPaint) {
        info->Measure(m_hDcPaint);
    }
    if (!ReplaceEntry(TargetResInfo(shared).m_CustomFonts, FontKey(id), info.get())) {
        return nullptr;
    }
    return info.release()->hFont;
}

void CPaintManagerUI::SetDefaultFont(const wchar_t* face, int size, bool bold, bool underline, bool italic, bool shared)
{
    CSkinString used;
    HFONT font = CreateScaledFont(face, size, bold, underline, italic, used);
    if (!font) {
        return;
    }
    tagTFontInfo& info = TargetResInfo(shared).m_DefaultFontInfo;
    info.Assign(font, used, size, bold, underline, italic);
    if (m_hDcPaint) {
        info.Measure(m_hDcPaint);
    }
}

tagTFontInfo* CPaintManagerUI::GetDefaultFontInfo()
{
    tagTFontInfo& info = m_ResInfo.m_DefaultFontInfo.sFontName.IsEmpty() ? m_SharedResInfo.m_DefaultFontInfo
                                                                         : m_ResInfo.m_DefaultFontInfo;
    info.Measure(m_hDcPaint);
    return &info;
}

tagTFontInfo* CPaintManagerUI::GetFontInfo(int id)
{
    tagTFontInfo* info = nullptr;
    if (id >= 0) {
        const CSkinString key = FontKey(id);
        info = static_cast<tagTFontInfo*>(m_ResInfo.m_CustomFonts.Find(key));
        if (!info) {
            info = static_cast<tagTFontInfo*>(m_SharedResInfo.m_CustomFonts.Find(key));
        }
    }
    if (!info) {
        return GetDefaultFontInfo();
    }
    info->Measure(m_hDcPaint);
    return info;
}

HFONT CPaintManagerUI::GetFont(int id)
{
    if (id >= 0) {
        const CSkinString key = FontKey(id);
        if (auto* info = static_cast<tagTFontInfo*>(m_ResInfo.m_CustomFonts.Find(key))) {
            return info->hFont;
        }
        if (auto* info = static_cast<tagTFontInfo*>(m_SharedResInfo.m_CustomFonts.Find(key))) {
            return info->hFont;
        }
    }
    return GetDefaultFontInfo()->hFont;
}

int CPaintManagerUI::GetFontIndex(HFONT font, bool shared)
{
    CStdStringPtrMap& fonts = TargetResInfo(shared).m_CustomFonts;
    for (int i = 0; i < fonts.GetSize(); ++i) {
        const wchar_t* key = fonts.GetAt(i);
        const auto* info = static_cast<const tagTFontInfo*>(fonts.Find(key, false));
        if (info && info->hFont == font) {
            return ReadSkinInt(key);
        }
    }
    return -1;
}

void CPaintManagerUI::RemoveFont(int id, bool shared)
{
    RemoveEntry<tagTFontInfo>(TargetResInfo(shared).m_CustomFonts, FontKey(id));
}

void CPaintManagerUI::RemoveAllFonts(bool shared)
{
    TargetResInfo(shared).RemoveAllFonts();
}

bool CPaintManagerUI::AddFontArray(const wchar_t* fontFile)
{
    CSkinBuffer bytes;
    if (!ReadSkinImageBytes(fontFile, nullptr, nullptr, bytes)) {
        return false;
    }
    DWORD count = 0;
    HANDLE handle = AddFontMemResourceEx(bytes.GetData(), bytes.GetSize(), nullptr, &count);
    if (!handle) {
        return false;
    }
    m_aFonts.Add(handle);
    return true;
}

} // namespace SkinUI
