// The dialog builder and the control factory: where layouts come from,
// declarations and Window attributes reaching the paint manager, includes,
// skipped tags, creation order, and no control left without an owner.
#include "builtin_controls.h"
#include "control_factory.h"
#include "control_tree.h"
#include "dialog_builder.h"
#include "render_canvas.h"
#include "resource_manager.h"
#include "skin_text.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

using namespace SkinUI;

namespace {

int g_live = 0;
int g_created = 0;

template <class Base> class Counted : public Base {
public:
    Counted()
    {
        ++g_live;
        ++g_created;
    }
    ~Counted() override { --g_live; }
};

CControlUI* Marked(const wchar_t* by)
{
    auto* control = new CControlUI;
    control->SetUserData(by);
    return control;
}

class TestCallback : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(const wchar_t* tag) override
    {
        if (SkinCompareNoCase(tag, L"Counted") == 0) {
            return new Counted<CControlUI>;
        }
        if (SkinCompareNoCase(tag, L"CountedBox") == 0) {
            return new Counted<CContainerUI>;
        }
        return SkinCompareNoCase(tag, L"Both") == 0 ? Marked(L"callback") : nullptr;
    }
};

using Box = std::array<LONG, 4>;

Box Of(const RECT& rc)
{
    return Box{rc.left, rc.top, rc.right, rc.bottom};
}

class DialogBuilderTest : public ::testing::Test {
protected:
    void SetUp() override { g_live = g_created = 0; }

    std::unique_ptr<CControlUI> Build(const wchar_t* xml)
    {
        CDialogBuilder builder;
        return std::unique_ptr<CControlUI>(builder.Create(xml, nullptr, &callback, &manager));
    }
    static CContainerUI* Items(const std::unique_ptr<CControlUI>& root)
    {
        return static_cast<CContainerUI*>(root->GetInterface(L"Container"));
    }

    SkinFolder folder;
    TestCallback callback;
    CPaintManagerUI manager;
};

} // namespace

// The test program is its own plug-in library.
extern "C" __declspec(dllexport) CControlUI* CreateControl(const wchar_t* tag)
{
    for (const wchar_t* known : {L"Plugged", L"Both", L"Button"}) {
        if (SkinCompareNoCase(tag, known) == 0) {
            return Marked(L"plugin");
        }
    }
    return nullptr;
}

TEST(ControlFactory, TermReleasesWhatWasRegistered)
{
    CControlFactory::GetInstance()->RegistControl(L"CExtraUI", CLabelUI::CreateControl);
    CControlFactory::GetInstance()->RegistControl(L"CEXTRAUI", CButtonUI::CreateControl);
    std::unique_ptr<CControlUI> extra(CControlFactory::GetInstance()->CreateControl(L"CExtraUI"));
    ASSERT_NE(extra, nullptr);
    EXPECT_STREQ(extra->GetClass(), L"LabelUI") << "the first registration stays";
    CPaintManagerUI::Term();
    RegisterBuiltinControls();
    EXPECT_EQ(CControlFactory::GetInstance()->CreateControl(L"CExtraUI"), nullptr);
    std::unique_ptr<CControlUI> button(CControlFactory::GetInstance()->CreateControl(L"CButtonUI"));
    EXPECT_NE(button, nullptr);
}

// The factory knows the seven classes built here, by tags in any case.
TEST_F(DialogBuilderTest, TagsMatchIgnoringCase)
{
    const struct {
        const wchar_t* tag;
        const wchar_t* expected;
    } cases[] = {
        {L"Control", L"ControlUI"},
        {L"container", L"ContainerUI"},
        {L"VERTICALLAYOUT", L"VerticalLayoutUI"},
        {L"horizontalLayout", L"HorizontalLayoutUI"},
        {L"label", L"LabelUI"},
        {L"BUTTON", L"ButtonUI"},
        {L"button", L"ButtonUI"},
        {L"pRoGrEsS", L"ProgressUI"},
    };
    for (const auto& c : cases) {
        const auto root = Build((std::wstring(L"<window><") + c.tag + L"/></window>").c_str());
        ASSERT_NE(root, nullptr) << c.tag;
        EXPECT_STREQ(root->GetClass(), c.expected);
    }
}

TEST_F(DialogBuilderTest, UnknownAndUnregisteredTagsAreSkippedWithTheirSubtree)
{
    for (const wchar_t* tag : {L"Gadget", L"Edit", L"TreeView", L"Option", L"RichEdit", L"TabLayout"}) {
        const std::wstring xml = std::wstring(L"<Window><VerticalLayout><") + tag +
                                 L" name=\"x\"><Counted/><Label/></" + tag +
                                 L"><Label name=\"after\"/></VerticalLayout></Window>";
        const auto root = Build(xml.c_str());
        ASSERT_NE(root, nullptr) << tag;
        ASSERT_EQ(Items(root)->GetCount(), 1) << tag;
        EXPECT_EQ(Items(root)->GetItemAt(0)->GetName(), L"after");
        EXPECT_EQ(g_created, 0) << tag;
    }
}

TEST_F(DialogBuilderTest, DefaultAttributesGoBeforeTheElementsOwn)
{
    const auto root = Build(LR"(<Window>
        <Default name="Button" value="width=&quot;24&quot; height=&quot;10&quot;"/>
        <VerticalLayout><Button width="30"/><Label/></VerticalLayout></Window>)");
    ASSERT_NE(root, nullptr);
    CControlUI* button = Items(root)->GetItemAt(0);
    EXPECT_EQ(button->GetFixedWidth(), 30);
    EXPECT_EQ(button->GetFixedHeight(), 10);
    EXPECT_EQ(Items(root)->GetItemAt(1)->GetFixedHeight(), 0);
}

TEST_F(DialogBuilderTest, IncludesBuildUnderTheCurrentParentCountTimes)
{
    folder.AddFile(L"row.xml", R"(<Window><Font id="150" name="Arial" size="15"/><Label name="row"/></Window>)");
    const struct {
        const wchar_t* include;
        int rows;
    } cases[] = {
        {LR"(<Include source="row.xml"/>)", 1},           {LR"(<Include source="row.xml" count="2"/>)", 2},
        {LR"(<include SOURCE="row.xml" count="0"/>)", 0}, {LR"(<Include count="2"/>)", 0},
        {LR"(<Include source="missing.xml"/>)", 0},
    };
    for (const auto& c : cases) {
        manager.RemoveAllFonts();
        const auto root =
            Build((std::wstring(L"<Window><VerticalLayout>") + c.include + L"</VerticalLayout></Window>").c_str());
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(Items(root)->GetCount(), c.rows) << c.include;
        EXPECT_EQ(manager.GetFontIndex(manager.GetFont(150)) == 150, c.rows > 0) << "the include's declarations";
    }
}

TEST_F(DialogBuilderTest, IncludeCyclesEndAtTheDepthLimit)
{
    folder.AddFile(L"self.xml", R"(<Window><Counted/><Include source="self.xml"/></Window>)");
    folder.AddFile(L"a.xml", R"(<Window><CountedBox><Include source="b.xml"/></CountedBox></Window>)");
    folder.AddFile(L"b.xml", R"(<Window><CountedBox><Include source="a.xml"/></CountedBox></Window>)");
    // The first layout and eight levels of includes.
    for (const wchar_t* file : {L"self.xml", L"a.xml"}) {
        g_created = 0;
        const auto root = Build(file);
        ASSERT_NE(root, nullptr) << file;
        EXPECT_EQ(g_created, 9) << file;
    }
    // Ten copies a level would be 10^8 builds: the whole layout stops at 1024 includes.
    folder.AddFile(L"fan.xml", R"(<Window><CountedBox><Include source="fan.xml" count="10"/></CountedBox></Window>)");
    g_created = 0;
    const auto fan = Build(L"fan.xml");
    ASSERT_NE(fan, nullptr);
    EXPECT_EQ(g_created, 1 + 1024);
}

// Everything the builder creates is owned by the result or deleted.
TEST_F(DialogBuilderTest, FreesWhatNothingWouldOwn)
{
    folder.AddFile(L"counted.xml", R"(<Window><Counted/><Counted/></Window>)");
    const struct {
        const wchar_t* xml;
        int built;
    } cases[] = {
        // A label holds no children: the level stops at the first one.
        {LR"(<Window><CountedBox><Label><Counted/><Counted/></Label></CountedBox></Window>)", 2},
        {LR"(<Window><Counted/><Counted/><Counted/></Window>)", 3},
        {LR"(<Window><Include source="counted.xml" count="2"/><Counted/></Window>)", 5},
        {LR"(<Window><CountedBox><Label><Include source="counted.xml"/></Label></CountedBox></Window>)", 2},
    };
    for (const auto& c : cases) {
        g_created = 0;
        auto root = Build(c.xml);
        EXPECT_EQ(g_created, c.built) << c.xml;
        EXPECT_EQ(g_live, 1) << c.xml;
        root.reset();
        EXPECT_EQ(g_live, 0) << c.xml;
    }
}

TEST_F(DialogBuilderTest, DeclarationsRegisterFromTheRootsChildrenOnly)
{
    folder.AddPng(L"dot.png", 2, 2, [](int, int) { return 0xFF102030u; });
    const auto root = Build(LR"(<Dialog size="50,50">
        <Font id="120" name="Tahoma" size="13" bold="TRUE" default="true"/>
        <Font name="Courier New" size="20" default="true"/>
        <Image name="dot.png"/>
        <Style name="wide" value="width=&quot;50&quot;"/>
        <Style name="wide" value="width=&quot;60&quot;"/>
        <Default name="Progress" value="max=&quot;300&quot;" shared="true"/>
        <VerticalLayout><Font id="7" name="Arial"/><Default name="Label" value="x=&quot;1&quot;"/></VerticalLayout>
        </Dialog>)");
    ASSERT_NE(root, nullptr);
    const tagTFontInfo* font = manager.GetFontInfo(120);
    EXPECT_EQ(font->sFontName, L"Tahoma");
    EXPECT_EQ(font->iSize, 13);
    EXPECT_TRUE(font->bBold);
    EXPECT_EQ(manager.GetDefaultFontInfo()->sFontName, L"Tahoma") << "a font without an id is not the default";
    EXPECT_NE(manager.GetImage(L"dot.png"), nullptr);
    EXPECT_STREQ(manager.GetStyle(L"wide"), L"width=\"50\"");
    CPaintManagerUI other;
    EXPECT_STREQ(other.GetDefaultAttributeList(L"Progress"), L"max=\"300\"") << "shared";
    other.RemoveAllDefaultAttributeList(true);
    EXPECT_EQ(manager.GetFont(7), manager.GetFont(-1)) << "not a declaration below the root";
    EXPECT_EQ(manager.GetDefaultAttributeList(L"Label"), nullptr);
}

TEST_F(DialogBuilderTest, LayoutsComeFromTextFilesIdentifiersAndResources)
{
    folder.AddFile(L"row.xml", R"(<Window><Label name="fromfile"/></Window>)");
    ASSERT_TRUE(CResourceManager::GetInstance()->LoadResource(LR"(<Res><Xml id="main" path="row.xml"/></Res>)"));
    const struct {
        STRINGorID xml;
        const wchar_t* type;
        const wchar_t* name;
    } cases[] = {
        {LR"(<Window><Label name="fromtext"/></Window>)", nullptr, L"fromtext"},
        {L"row.xml", nullptr, L"fromfile"},
        {L"main", nullptr, L"fromfile"},
        {140u, L"XML", L"fromresource"},
        {L"missing.xml", nullptr, nullptr},
        {139u, L"XML", nullptr},
        {140u, L"ZIPRES", nullptr},
    };
    for (const auto& c : cases) {
        CDialogBuilder builder;
        std::unique_ptr<CControlUI> root(builder.Create(c.xml, c.type, &callback, &manager));
        if (!c.name) {
            EXPECT_EQ(root, nullptr);
            continue;
        }
        ASSERT_NE(root, nullptr) << c.name;
        EXPECT_EQ(root->GetName(), c.name);
    }
    CResourceManager::GetInstance()->Release();
    // The resource layout includes resource 141 twice.
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.Create(140u, L"XML", nullptr, &manager));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Items(root)->GetCount(), 2);
    EXPECT_EQ(Items(root)->GetItemAt(1)->GetName(), L"resourcerow");

    CDialogBuilder failing;
    EXPECT_EQ(failing.Create(L"missing.xml"), nullptr);
    wchar_t message[100] = {};
    failing.GetLastErrorMessage(message, 100);
    EXPECT_STREQ(message, L"Error opening file");
}

TEST_F(DialogBuilderTest, PluginsComeAfterTheFactoryAndBeforeTheCallback)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L"ferncastle-no-such-plugin.dll"));
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L"kernel32.dll")) << "no CreateControl export";
    EXPECT_TRUE(CPaintManagerUI::LoadPlugin(self));
    EXPECT_TRUE(CPaintManagerUI::LoadPlugin(self));
    EXPECT_EQ(CPaintManagerUI::GetPlugins().size(), 1u);
    const struct {
        const wchar_t* tag;
        const wchar_t* by;
    } cases[] = {{L"Plugged", L"plugin"}, {L"Both", L"plugin"}, {L"Button", L""}};
    for (const auto& c : cases) {
        const auto root = Build((std::wstring(L"<Window><") + c.tag + L"/></Window>").c_str());
        ASSERT_NE(root, nullptr) << c.tag;
        EXPECT_EQ(root->GetUserData(), c.by) << c.tag;
    }
}

// Window attributes reach a manager that has a window, one case per kind.
TEST(DialogBuilderWindow, AppliesTheWindowAttributes)
{
    using PM = CPaintManagerUI;
    const struct {
        const wchar_t* attribute;
        int64_t (*read)(PM& pm);
        int64_t expected;
    } cases[] = {
        {L"size=\"380,240\"", [](PM& pm) -> int64_t { return pm.GetInitSize().cx; }, 380},
        {L"SIZE=\"380,240\"", [](PM& pm) -> int64_t { return pm.GetInitSize().cy; }, 240},
        {L"sizebox=\"4,5,6,7\"", [](PM& pm) -> int64_t { return pm.GetSizeBox().right; }, 6},
        {L"caption=\"0,0,0,9999\"", [](PM& pm) -> int64_t { return pm.GetCaptionRect().bottom; }, 9999},
        {L"roundcorner=\"3,4\"", [](PM& pm) -> int64_t { return pm.GetRoundCorner().cy; }, 4},
        {L"mininfo=\"100,80\"", [](PM& pm) -> int64_t { return pm.GetMinInfo().cx; }, 100},
        {L"maxinfo=\"800,600\"", [](PM& pm) -> int64_t { return pm.GetMaxInfo().cy; }, 600},
        {L"showdirty=\"true\"", [](PM& pm) -> int64_t { return pm.IsShowUpdateRect(); }, 1},
        {L"opacity=\"200\"", [](PM& pm) -> int64_t { return pm.GetOpacity(); }, 200},
        {L"alpha=\"300\"", [](PM& pm) -> int64_t { return pm.GetOpacity(); }, 255},
        // The layered names match only as written; a layered window is still drawn opaque.
        {L"layeredopacity=\"128\"", [](PM& pm) -> int64_t { return pm.GetLayeredInfo().nLayeredOpacity; }, 128},
        {L"LayeredOpacity=\"128\"", [](PM& pm) -> int64_t { return pm.GetLayeredInfo().nLayeredOpacity; }, 255},
        {L"layered=\"true\"", [](PM& pm) -> int64_t { return pm.GetLayeredInfo().bLayered; }, 1},
        {L"Layered=\"true\"", [](PM& pm) -> int64_t { return pm.GetLayeredInfo().bLayered; }, 0},
        {L"bktrans=\"true\"", [](PM& pm) -> int64_t { return pm.GetLayeredInfo().bLayered; }, 1},
        {L"layered=\"true\"", [](PM& pm) -> int64_t { return pm.IsLayered(); }, 0},
        {L"layeredimage=\"bk.png\"",
         [](PM& pm) -> int64_t {
             return pm.GetLayeredInfo().bLayered && pm.GetLayeredInfo().sLayeredImage == L"bk.png";
         },
         1},
        {L"noactivate=\"true\"", [](PM& pm) -> int64_t { return pm.IsNoActivate(); }, 1},
        {L"NoActivate=\"true\"", [](PM& pm) -> int64_t { return pm.IsNoActivate(); }, 0},
        {L"disabledfontcolor=\"#FF010203\"", [](PM& pm) -> int64_t { return pm.GetDefaultDisabledColor(); },
         0xFF010203},
        {L"defaultfontcolor=\"FF040506\"", [](PM& pm) -> int64_t { return pm.GetDefaultFontColor(); }, 0xFF040506},
        {L"defaulttextcolor=\"#FF6299FE\"", [](PM& pm) -> int64_t { return pm.GetDefaultFontColor(); }, 0xFF000000},
        {L"linkfontcolor=\"#FF070809\"", [](PM& pm) -> int64_t { return pm.GetDefaultLinkFontColor(); }, 0xFF070809},
        {L"linkhoverfontcolor=\"#FF0A0B0C\"", [](PM& pm) -> int64_t { return pm.GetDefaultLinkHoverFontColor(); },
         0xFF0A0B0C},
        {L"selectedcolor=\"#FF0D0E0F\"", [](PM& pm) -> int64_t { return pm.GetDefaultSelectedBkColor(); }, 0xFF0D0E0F},
        {L"shadowsize=\"6\"", [](PM& pm) -> int64_t { return pm.GetShadow().nSize; }, 6},
        {L"shadowsharpness=\"3\"", [](PM& pm) -> int64_t { return pm.GetShadow().nSharpness; }, 3},
        {L"shadowdarkness=\"90\"", [](PM& pm) -> int64_t { return pm.GetShadow().nDarkness; }, 90},
        {L"shadowposition=\"1,2\"", [](PM& pm) -> int64_t { return pm.GetShadow().szOffset.cy; }, 2},
        {L"shadowcolor=\"#FF112233\"", [](PM& pm) -> int64_t { return pm.GetShadow().dwColor; }, 0xFF112233},
        {L"shadowcorner=\"1,2,3,4\"", [](PM& pm) -> int64_t { return pm.GetShadow().rcCorner.right; }, 3},
        {L"shadowimage=\"Shadow.png\"", [](PM& pm) -> int64_t { return pm.GetShadow().sImage == L"Shadow.png"; }, 1},
        {L"showshadow=\"true\"", [](PM& pm) -> int64_t { return pm.GetShadow().bShow; }, 1},
        {L"gdiplustext=\"true\"", [](PM& pm) -> int64_t { return pm.IsUseGdiplusText(); }, 1},
        {L"textrenderinghint=\"4\"", [](PM& pm) -> int64_t { return pm.GetGdiplusTextRenderingHint(); }, 4},
        {L"tooltiphovertime=\"800\"", [](PM& pm) -> int64_t { return pm.GetHoverTime(); }, 800},
    };
    HWND hWnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    for (const auto& c : cases) {
        PM pm;
        pm.Init(hWnd);
        CDialogBuilder builder;
        std::unique_ptr<CControlUI> root(builder.Create(
            (std::wstring(L"<Window ") + c.attribute + L"><Control/></Window>").c_str(), nullptr, nullptr, &pm));
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(c.read(pm), c.expected) << c.attribute;
    }
    RECT rc{};
    GetWindowRect(hWnd, &rc);
    EXPECT_EQ(Of(rc), (Box{0, 0, 380, 240})) << "the initial size resizes the window";
    // Only with a window and a root named Window; scaled for DPI.
    const struct {
        const wchar_t* xml;
        UINT dpi;
        bool window;
        LONG width;
    } sizes[] = {
        {L"<Window size=\"380,240\"/>", 144, true, 570},
        {L"<Window size=\"380,240\"/>", 96, false, 0},
        {L"<Dialog size=\"380,240\"/>", 96, true, 0},
    };
    for (const auto& s : sizes) {
        PM pm;
        pm.GetDPIObj()->SetScale(s.dpi);
        if (s.window) {
            pm.Init(hWnd);
        }
        CDialogBuilder builder;
        EXPECT_EQ(builder.Create(s.xml, nullptr, nullptr, &pm), nullptr);
        EXPECT_EQ(pm.GetInitSize().cx, s.width) << s.xml;
    }
    DestroyWindow(hWnd);
}
