// The updater's skin as the build packs it: the files the window needs,
// image sizes, and the layout tree the window is built from.
#include "markup.h"
#include "skin_archive.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace SkinUI;

namespace {

class SkinFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        archive.reset(CSkinArchive::OpenFile(FERNCASTLE_SKIN_ZIP, nullptr));
        ASSERT_TRUE(archive) << "skin archive not found";
    }

    std::string Read(const wchar_t* name)
    {
        uint64_t size = 0;
        if (archive->FindEntry(name, size) != CSkinArchive::Result::Ok || size == 0) {
            return std::string();
        }
        std::string bytes(static_cast<size_t>(size), '\0');
        if (archive->ExtractEntry(&bytes[0], size) != CSkinArchive::Result::Ok) {
            return std::string();
        }
        return bytes;
    }

    bool Parse(CMarkup& doc, const wchar_t* name)
    {
        const std::string bytes = Read(name);
        return doc.LoadFromMem(reinterpret_cast<const unsigned char*>(bytes.data()),
                               static_cast<uint32_t>(bytes.size()), XMLFILE_ENCODING_UTF8);
    }

    std::unique_ptr<CSkinArchive> archive;
};

uint32_t BigEndian32(const std::string& s, size_t at)
{
    return (static_cast<uint32_t>(static_cast<unsigned char>(s[at])) << 24) |
           (static_cast<uint32_t>(static_cast<unsigned char>(s[at + 1])) << 16) |
           (static_cast<uint32_t>(static_cast<unsigned char>(s[at + 2])) << 8) |
           static_cast<uint32_t>(static_cast<unsigned char>(s[at + 3]));
}

std::wstring Attr(const CMarkupNode& node, const wchar_t* name)
{
    return node.GetAttributeValue(name);
}

// The value of the last attribute called name (later ones win when applied).
std::wstring LastAttr(const CMarkupNode& node, const wchar_t* name)
{
    std::wstring value;
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
        if (std::wstring(node.GetAttributeName(i)) == name) {
            value = node.GetAttributeValue(i);
        }
    }
    return value;
}

std::vector<CMarkupNode> Children(const CMarkupNode& node)
{
    std::vector<CMarkupNode> result;
    for (CMarkupNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
        result.push_back(child);
    }
    return result;
}

} // namespace

// Each image at 100 % and, under the name the engine asks for, at each
// scale the art is drawn for: its size scaled as the engine scales the
// markup's source cells, so that each cell is where the engine cuts it.
TEST_F(SkinFiles, ImagesHaveTheirSizesAtEveryScale)
{
    const struct {
        const wchar_t* stem;
        uint32_t width;
        uint32_t height;
    } images[] = {{L"btn_sys_close", 120, 30}, {L"btn_sys_min", 120, 30},    {L"logo", 94, 94},
                  {L"FullBackground", 52, 16}, {L"PlanBackground", 52, 16}, {L"Shadow", 170, 146}};
    const auto scaled = [](uint32_t length, uint32_t scale) { return (length * scale + 50) / 100; };
    for (const uint32_t scale : {100u, 125u, 150u, 200u}) {
        for (const auto& image : images) {
            const std::wstring name =
                std::wstring(image.stem) + (scale == 100 ? L"" : L"@" + std::to_wstring(scale)) + L".png";
            const std::string png = Read(name.c_str());
            ASSERT_GE(png.size(), 24u) << "missing " << testing::PrintToString(name);
            EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
            EXPECT_EQ(png.substr(12, 4), "IHDR");
            EXPECT_EQ(BigEndian32(png, 16), scaled(image.width, scale)) << testing::PrintToString(name);
            EXPECT_EQ(BigEndian32(png, 20), scaled(image.height, scale)) << testing::PrintToString(name);
        }
    }
}

TEST_F(SkinFiles, FontsAreTheTenOfTheSameFace)
{
    CMarkup doc;
    ASSERT_TRUE(Parse(doc, L"Font.xml")) << doc.GetLastErrorMessage();
    const std::vector<std::pair<std::wstring, std::wstring>> expected = {
        {L"120", L"12"}, {L"121", L"12"}, {L"122", L"12"}, {L"130", L"13"}, {L"140", L"14"},
        {L"150", L"15"}, {L"160", L"16"}, {L"200", L"20"}, {L"240", L"24"}, {L"300", L"30"}};
    const std::vector<CMarkupNode> fonts = Children(doc.GetRoot());
    ASSERT_EQ(fonts.size(), expected.size());
    for (size_t i = 0; i < fonts.size(); ++i) {
        EXPECT_EQ(std::wstring(fonts[i].GetName()), L"Font");
        EXPECT_EQ(Attr(fonts[i], L"id"), expected[i].first);
        EXPECT_EQ(Attr(fonts[i], L"size"), expected[i].second);
        EXPECT_EQ(Attr(fonts[i], L"name"), L"\u5fae\u8f6f\u96c5\u9ed1");
    }
    EXPECT_EQ(Attr(fonts[0], L"default"), L"true");
    EXPECT_EQ(Attr(fonts[1], L"bold"), L"true");
    EXPECT_EQ(Attr(fonts[2], L"underline"), L"true");
}

TEST_F(SkinFiles, DefaultListsParseAndNothingIncludesThem)
{
    CMarkup defaults;
    ASSERT_TRUE(Parse(defaults, L"Default.xml")) << defaults.GetLastErrorMessage();
    for (const CMarkupNode& node : Children(defaults.GetRoot())) {
        EXPECT_EQ(std::wstring(node.GetName()), L"Default");
        EXPECT_FALSE(Attr(node, L"name").empty());
        EXPECT_NE(Attr(node, L"value").find(L"=\""), std::wstring::npos) << "entities decode to quotes";
    }
    for (const wchar_t* layout : {L"MainFrameWnd.xml", L"Font.xml"}) {
        EXPECT_EQ(Read(layout).find("Default.xml"), std::string::npos);
        EXPECT_EQ(Read(layout).find("Shadow.png"), std::string::npos);
    }
}

TEST_F(SkinFiles, MainFrameLayoutTree)
{
    CMarkup doc;
    ASSERT_TRUE(Parse(doc, L"MainFrameWnd.xml")) << doc.GetLastErrorMessage();
    const CMarkupNode window = doc.GetRoot();
    EXPECT_EQ(std::wstring(window.GetName()), L"Window");
    EXPECT_EQ(Attr(window, L"size"), L"380,240");
    EXPECT_EQ(Attr(window, L"roundcorner"), L"0,0");
    EXPECT_EQ(Attr(window, L"caption"), L"0,0,0,9999");
    EXPECT_EQ(Attr(window, L"defaulttextcolor"), L"#ff6299fe");

    const std::vector<CMarkupNode> top = Children(window);
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(std::wstring(top[0].GetName()), L"Include");
    EXPECT_EQ(Attr(top[0], L"source"), L"Font.xml");
    EXPECT_EQ(std::wstring(top[1].GetName()), L"VerticalLayout");
    EXPECT_EQ(Attr(top[1], L"bkcolor"), L"#ffffffff");

    const std::vector<CMarkupNode> rows = Children(top[1]);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(Attr(rows[0], L"height"), L"32");
    EXPECT_EQ(Attr(rows[1], L"height"), L"97");
    EXPECT_EQ(Attr(rows[1], L"padding"), L"30,47,0,0");
    EXPECT_FALSE(rows[2].HasAttributes()) << "the flexible row";
    EXPECT_EQ(Attr(rows[3], L"height"), L"36");
    EXPECT_EQ(Attr(rows[4], L"height"), L"8");

    // Title row.
    const std::vector<CMarkupNode> title = Children(rows[0]);
    ASSERT_EQ(title.size(), 3u);
    EXPECT_EQ(Attr(title[0], L"name"), L"Title");
    EXPECT_EQ(Attr(title[0], L"text"), L"Ferncastle\u7248\u672c\u66f4\u65b0");
    EXPECT_EQ(Attr(title[0], L"width"), L"160");
    EXPECT_EQ(Attr(title[0], L"height"), L"24");
    EXPECT_EQ(Attr(title[0], L"padding"), L"10,5,0,0");
    EXPECT_EQ(std::wstring(title[1].GetName()), L"Control");
    EXPECT_EQ(Attr(title[2], L"width"), L"64");
    const std::vector<CMarkupNode> buttons = Children(title[2]);
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(std::wstring(buttons[0].GetName()), L"Control");
    const struct {
        const wchar_t* name;
        const wchar_t* file;
        const wchar_t* tooltip;
    } expectedButtons[] = {{L"CloseNormal", L"btn_sys_close.png", L"\u5173\u95ed"},
                           {L"MinNormal", L"btn_sys_min.png", L"\u6700\u5c0f\u5316"}};
    for (int i = 0; i < 2; ++i) {
        const CMarkupNode& button = buttons[static_cast<size_t>(i) + 1];
        const std::wstring file = expectedButtons[i].file;
        EXPECT_EQ(std::wstring(button.GetName()), L"Button");
        EXPECT_EQ(Attr(button, L"name"), expectedButtons[i].name);
        EXPECT_EQ(Attr(button, L"width"), L"24");
        EXPECT_EQ(Attr(button, L"height"), L"24");
        EXPECT_EQ(Attr(button, L"normalimage"), L"file='" + file + L"' source='0,0,30,30'");
        EXPECT_EQ(Attr(button, L"hotimage"), L"file='" + file + L"' source='30,0,60,30'");
        EXPECT_EQ(Attr(button, L"pushedimage"), L"file='" + file + L"' source='60,0,90,30'");
        int tooltips = 0;
        for (int a = 0; a < button.GetAttributeCount(); ++a) {
            tooltips += std::wstring(button.GetAttributeName(a)) == L"tooltip";
        }
        EXPECT_EQ(tooltips, 2);
        EXPECT_EQ(LastAttr(button, L"tooltip"), expectedButtons[i].tooltip);
    }

    // Logo row.
    const std::vector<CMarkupNode> logo = Children(rows[1]);
    ASSERT_EQ(logo.size(), 2u);
    EXPECT_EQ(Attr(logo[0], L"width"), L"91");
    EXPECT_EQ(Attr(logo[0], L"height"), L"97");
    EXPECT_EQ(Attr(logo[0], L"bkimage"), L"logo.png");
    EXPECT_EQ(Attr(logo[1], L"padding"), L"20,10,0,0");
    const std::vector<CMarkupNode> labels = Children(logo[1]);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(Attr(labels[0], L"name"), L"lab_descript");
    EXPECT_EQ(Attr(labels[0], L"text"), L"Ferncastle");
    EXPECT_EQ(Attr(labels[1], L"name"), L"lab_version");
    EXPECT_EQ(Attr(labels[1], L"text"), L"\u6700\u65b0\u7248\u672c\uff1aV1.0.0.2");
    for (const CMarkupNode& label : labels) {
        EXPECT_EQ(std::wstring(label.GetName()), L"Label");
        EXPECT_EQ(Attr(label, L"font"), L"160");
        EXPECT_EQ(Attr(label, L"height"), L"30");
    }

    // Progress row.
    const std::vector<CMarkupNode> progressRow = Children(rows[3]);
    ASSERT_EQ(progressRow.size(), 3u);
    EXPECT_EQ(Attr(progressRow[0], L"width"), L"16");
    EXPECT_FALSE(progressRow[0].HasChildren());
    EXPECT_EQ(Attr(progressRow[2], L"width"), L"16");
    const CMarkupNode body = progressRow[1];
    EXPECT_EQ(std::wstring(body.GetName()), L"VerticalLayout");
    EXPECT_EQ(Attr(body, L"name"), L"progressbody");
    const std::vector<CMarkupNode> parts = Children(body);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(Attr(parts[0], L"height"), L"16");
    EXPECT_EQ(Attr(parts[1], L"height"), L"4");
    EXPECT_EQ(Attr(parts[2], L"height"), L"16");

    const CMarkupNode column = parts[0].GetChild().GetSibling();
    EXPECT_EQ(Attr(column, L"width"), L"40");
    const CMarkupNode percent = column.GetChild();
    EXPECT_EQ(std::wstring(percent.GetName()), L"Label");
    EXPECT_EQ(Attr(percent, L"name"), L"planinstalllabe");
    EXPECT_EQ(Attr(percent, L"text"), L"20%");
    EXPECT_EQ(Attr(percent, L"align"), L"right");
    EXPECT_EQ(Attr(percent, L"width"), L"40");
    EXPECT_EQ(Attr(percent, L"height"), L"16");
    EXPECT_EQ(Attr(percent, L"font"), L"1");

    const CMarkupNode bar = parts[2].GetChild();
    EXPECT_EQ(std::wstring(bar.GetName()), L"Progress");
    EXPECT_EQ(Attr(bar, L"name"), L"progressinfo");
    EXPECT_EQ(Attr(bar, L"value"), L"20");
    EXPECT_EQ(Attr(bar, L"height"), L"16");
    EXPECT_EQ(Attr(bar, L"min"), L"0");
    EXPECT_EQ(Attr(bar, L"max"), L"100");
    EXPECT_EQ(Attr(bar, L"bkimage"), L"file='FullBackground.png' corner='5,3,5,3'");
    EXPECT_EQ(Attr(bar, L"foreimage"), L"file='PlanBackground.png' corner='5,3,5,3' xtiled='true' ytiled='true'");
}
