#include "builtin_controls.h"

#include "builtin_accessible.h"
#include "button.h"
#include "container.h"
#include "control_factory.h"
#include "horizontal_layout.h"
#include "label.h"
#include "progress.h"
#include "vertical_layout.h"

namespace SkinUI {

// Only these classes exist. The toolkit's layouts also name Combo,
// ComboBox, DateTime, Edit, ActiveX, Flash, GifAnim, GroupBox, IPAddress,
// IPAddressEx, List, ListHeader, ListHeaderItem, ListLabelElement,
// ListTextElement, ListContainerElement, Menu, MenuElement, Option,
// CheckBox, RichEdit, ScrollBar, Slider, Text, TreeNode, TreeView,
// WebBrowser, AnimationTabLayout, ChildLayout, TabLayout, TileLayout,
// RollText, ColorPalette, ListEx, ListContainerHeaderItem,
// ListTextExtElement, HotKey, FadeButton and Ring: their tags are skipped
// with everything inside them, like any unknown tag.
void RegisterBuiltinControls()
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
    CControlFactory* factory = CControlFactory::GetInstance();
    for (const auto& c : kClasses) {
        factory->RegistControl(c.name, c.create);
    }
    SetAccessibleDescriber(DescribeBuiltinAccessible);
}

} // namespace SkinUI
