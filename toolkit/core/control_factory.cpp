#include "control_factory.h"

#include "button.h"
#include "container.h"
#include "horizontal_layout.h"
#include "label.h"
#include "progress.h"
#include "vertical_layout.h"

#include <mutex>

namespace SkinUI {

namespace {

std::mutex g_instanceLock;
CControlFactory* g_instance = nullptr;

CSkinString LowerCase(const wchar_t* text)
{
    CSkinString lower(text);
    lower.MakeLower();
    return lower;
}

} // namespace

// Only the classes built here are registered. The toolkit's layouts also
// name Combo, ComboBox, DateTime, Edit, ActiveX, Flash, GifAnim, GroupBox,
// IPAddress, IPAddressEx, List, ListHeader, ListHeaderItem,
// ListLabelElement, ListTextElement, ListContainerElement, Menu,
// MenuElement, Option, CheckBox, RichEdit, ScrollBar, Slider, Text,
// TreeNode, TreeView, WebBrowser, AnimationTabLayout, ChildLayout,
// TabLayout, TileLayout, RollText, ColorPalette, ListEx,
// ListContainerHeaderItem, ListTextExtElement, HotKey, FadeButton and Ring:
// those controls do not exist, so their tags are skipped with everything
// inside them, like any unknown tag.
CControlFactory::CControlFactory()
{
    static const struct {
        const wchar_t* name;
        CreateClass create;
    } kClasses[] = {
        {L"CControlUI", CControlUI::CreateControl},
        {L"CContainerUI", CContainerUI::CreateControl},
        {L"CVerticalLayoutUI", CVerticalLayoutUI::CreateControl},
        {L"CHorizontalLayoutUI", CHorizontalLayoutUI::CreateControl},
        {L"CLabelUI", CLabelUI::CreateControl},
        {L"CButtonUI", CButtonUI::CreateControl},
        {L"CProgressUI", CProgressUI::CreateControl},
    };
    for (const auto& c : kClasses) {
        RegistControl(c.name, c.create);
    }
}

CControlFactory::~CControlFactory() = default;

CControlFactory* CControlFactory::GetInstance()
{
    std::lock_guard<std::mutex> lock(g_instanceLock);
    if (!g_instance) {
        g_instance = new CControlFactory;
    }
    return g_instance;
}

void CControlFactory::Release()
{
    std::lock_guard<std::mutex> lock(g_instanceLock);
    delete g_instance;
    g_instance = nullptr;
}

CControlUI* CControlFactory::CreateControl(const wchar_t* pstrClassName) const
{
    if (!pstrClassName) {
        return nullptr;
    }
    const auto it = m_mapControl.find(LowerCase(pstrClassName));
    return it == m_mapControl.end() ? nullptr : it->second();
}

void CControlFactory::RegistControl(const wchar_t* pstrClassName, CreateClass pFunc)
{
    if (pstrClassName && pFunc) {
        m_mapControl.emplace(LowerCase(pstrClassName), pFunc);
    }
}

} // namespace SkinUI
