#include "res_info.h"

#include "draw_info.h"
#include "image_info.h"

namespace SkinUI {

tagTResInfo::tagTResInfo()
    : m_dwDefaultDisabledColor(0xFFA7A6AA), m_dwDefaultFontColor(0xFF000000), m_dwDefaultLinkFontColor(0xFF0000FF),
      m_dwDefaultLinkHoverFontColor(0xFFD3215F), m_dwDefaultSelectedBkColor(0xFFBAE4FF)
{
}

tagTResInfo::~tagTResInfo()
{
    Clear();
}

void tagTResInfo::RemoveAllFonts()
{
    DeleteAllEntries<tagTFontInfo>(m_CustomFonts);
}

void tagTResInfo::RemoveAllImages()
{
    DeleteAllEntries<tagTImageInfo>(m_ImageHash);
}

void tagTResInfo::RemoveAllAttributeLists()
{
    DeleteAllEntries<CSkinString>(m_AttrHash);
}

void tagTResInfo::RemoveAllStyles()
{
    DeleteAllEntries<CSkinString>(m_StyleHash);
}

void tagTResInfo::RemoveAllDrawInfos()
{
    DeleteAllEntries<tagTDrawInfo>(m_DrawInfoHash);
}

void tagTResInfo::Clear()
{
    RemoveAllFonts();
    RemoveAllImages();
    RemoveAllAttributeLists();
    RemoveAllStyles();
    RemoveAllDrawInfos();
    m_DefaultFontInfo.Reset();
}

} // namespace SkinUI
