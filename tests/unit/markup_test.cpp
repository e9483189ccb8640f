#include "markup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace SkinUI;

namespace {

std::wstring Str(const wchar_t* text)
{
    return text ? std::wstring(text) : std::wstring(L"<null>");
}

bool LoadUtf8(CMarkup& doc, const std::string& bytes)
{
    return doc.LoadFromMem(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<uint32_t>(bytes.size()),
                           XMLFILE_ENCODING_UTF8);
}

} // namespace

struct MalformedCase {
    const wchar_t* document;
    const wchar_t* message;
    const wchar_t* location;
};

class MalformedMarkup : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedMarkup, FailsWithTheExactMessage)
{
    const MalformedCase& c = GetParam();
    CMarkup doc;
    EXPECT_FALSE(doc.Load(c.document));
    EXPECT_FALSE(doc.IsValid()) << "a failed load leaves the document empty";
    EXPECT_FALSE(doc.GetRoot().IsValid());
    EXPECT_EQ(Str(doc.GetLastErrorMessage()), Str(c.message));
    EXPECT_EQ(Str(doc.GetLastErrorLocation()), Str(c.location));
}

INSTANTIATE_TEST_SUITE_P(OneRowPerMessage, MalformedMarkup,
                         ::testing::Values(MalformedCase{L"hello", L"Expected start tag", L"hello"},
                                           MalformedCase{L"<a><b/>tail</a>", L"Expected start tag", L"tail</a>"},
                                           MalformedCase{L"   ", L"Expected start tag", L""},
                                           MalformedCase{L"<abc", L"Error parsing element name", L""},
                                           MalformedCase{L"<a x=\"1\" /x>", L"Expected start-tag closing", L"/x>"},
                                           MalformedCase{L"<a x=\"1\"", L"Expected start-tag closing", L""},
                                           MalformedCase{L"<a><b>text</b>x", L"Expected start tag", L"x"},
                                           MalformedCase{L"<a><b><c>text", L"Expected end-tag start", L""},
                                           MalformedCase{L"<a></A>", L"Unmatched closing tag", L"A>"},
                                           MalformedCase{L"<a></a x>", L"Unmatched closing tag", L"x>"},
                                           MalformedCase{L"<my-tag/>", L"Error while parsing attributes", L"/>"},
                                           MalformedCase{L"<a x/>", L"Error while parsing attributes", L"/>"},
                                           MalformedCase{L"<a x='1'/>", L"Expected attribute value", L"'1'/>"},
                                           MalformedCase{L"<a x=\"1/>", L"Error while parsing attribute string", L""}));

TEST(Markup, ElementTextWithoutEndTagNeedsAnEndBelowTheRoot)
{
    CMarkup doc;
    // Direct children of the root may run to the end of the text.
    EXPECT_TRUE(doc.Load(L"<a><b>text"));
    EXPECT_EQ(Str(doc.GetRoot().GetChild().GetValue()), L"text");
    EXPECT_EQ(Str(doc.GetRoot().GetChild().GetName()), L"b");
    EXPECT_TRUE(doc.GetRoot().GetChild(L"b").IsValid());
}

TEST(Markup, RootWithoutEndTagLoads)
{
    CMarkup doc(L"<Window size=\"380,240\">");
    ASSERT_TRUE(doc.IsValid());
    CMarkupNode root = doc.GetRoot();
    ASSERT_TRUE(root.IsValid());
    EXPECT_EQ(Str(root.GetName()), L"Window");
    EXPECT_EQ(Str(root.GetAttributeValue(L"size")), L"380,240");
    EXPECT_EQ(root.GetAttributeCount(), 1);
    EXPECT_FALSE(root.HasChildren());
    EXPECT_FALSE(root.HasSiblings());

    CMarkup bare(L"<Window>");
    EXPECT_EQ(Str(bare.GetRoot().GetName()), L"Window");
}

TEST(Markup, TreeLinksAndValues)
{
    CMarkup doc(L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                L"<Window>\n  <!-- layout -->\n  <a>text of a<b/><c>c text</c></a>\n  <d x=\"1\" />\n</Window>\n");
    ASSERT_TRUE(doc.IsValid()) << Str(doc.GetLastErrorMessage());
    CMarkupNode root = doc.GetRoot();
    EXPECT_EQ(Str(root.GetName()), L"Window");
    CMarkupNode a = root.GetChild();
    EXPECT_EQ(Str(a.GetName()), L"a");
    EXPECT_EQ(Str(a.GetValue()), L"text of a") << "text before the first child is the value";
    EXPECT_TRUE(a.HasChildren());
    EXPECT_TRUE(a.HasSiblings());
    CMarkupNode b = a.GetChild();
    EXPECT_EQ(Str(b.GetName()), L"b");
    EXPECT_EQ(Str(b.GetValue()), L"");
    CMarkupNode c = b.GetSibling();
    EXPECT_EQ(Str(c.GetName()), L"c");
    EXPECT_EQ(Str(c.GetValue()), L"c text");
    EXPECT_FALSE(c.GetSibling().IsValid());
    EXPECT_EQ(Str(c.GetParent().GetName()), L"a");
    EXPECT_FALSE(root.GetParent().IsValid());
    CMarkupNode d = a.GetSibling();
    EXPECT_EQ(Str(d.GetName()), L"d");
    EXPECT_EQ(Str(d.GetAttributeValue(L"x")), L"1");
    EXPECT_EQ(Str(root.GetChild(L"D").GetName()), L"d") << "GetChild ignores case";
    EXPECT_FALSE(root.GetChild(L"b").IsValid()) << "only direct children";
}

TEST(Markup, CommentsAreSkipped)
{
    CMarkup doc(L"<a><!-- c --><b/></a>");
    ASSERT_TRUE(doc.IsValid());
    CMarkupNode a = doc.GetRoot();
    ASSERT_TRUE(a.GetChild().IsValid());
    EXPECT_EQ(Str(a.GetChild().GetName()), L"b");
    EXPECT_FALSE(a.GetChild().HasSiblings());
}

TEST(Markup, OnlyAProcessingInstructionHasNoRoot)
{
    CMarkup doc(L"<?xml version=\"1.0\"?>");
    EXPECT_TRUE(doc.IsValid());
    EXPECT_FALSE(doc.GetRoot().IsValid());
    CMarkup empty(L"");
    EXPECT_TRUE(empty.IsValid());
    EXPECT_FALSE(empty.GetRoot().IsValid());
}

TEST(Markup, EntitiesAreDecodedInValuesAndText)
{
    CMarkup doc(L"<a x=\"&quot;1&quot;\" y=\"&#34;\" z=\"&amp;&lt;&gt;&apos;&&amp;\">&lt;b&gt; &amp; c</a>");
    ASSERT_TRUE(doc.IsValid()) << Str(doc.GetLastErrorMessage());
    CMarkupNode a = doc.GetRoot();
    EXPECT_EQ(Str(a.GetAttributeValue(L"x")), L"\"1\"");
    EXPECT_EQ(Str(a.GetAttributeValue(L"y")), L"&#34;") << "no numeric references";
    EXPECT_EQ(Str(a.GetAttributeValue(L"z")), L"&<>'&&");
    EXPECT_EQ(Str(a.GetValue()), L"<b> & c");
    EXPECT_EQ(a.GetAttributeCount(), 3) << "mapping walks over shortened values";
}

TEST(Markup, AttributeLookupIgnoresCaseAndCopies)
{
    CMarkup doc(L"<Button Name=\"ok\" TEXT=\"Go\" text=\"second\"/>");
    CMarkupNode n = doc.GetRoot();
    EXPECT_TRUE(n.HasAttributes());
    EXPECT_TRUE(n.HasAttribute(L"name"));
    EXPECT_FALSE(n.HasAttribute(L"width"));
    EXPECT_EQ(Str(n.GetAttributeValue(L"text")), L"Go") << "the first of duplicates";
    EXPECT_EQ(Str(n.GetAttributeName(2)), L"text");
    EXPECT_EQ(Str(n.GetAttributeValue(2)), L"second");
    EXPECT_EQ(Str(n.GetAttributeValue(3)), L"") << "out of range: empty, not null";
    EXPECT_EQ(Str(n.GetAttributeName(-1)), L"");
    EXPECT_EQ(Str(n.GetAttributeValue(L"missing")), L"");

    wchar_t buffer[8] = {};
    EXPECT_TRUE(n.GetAttributeValue(L"NAME", buffer, 8));
    EXPECT_EQ(std::wstring(buffer), L"ok");
    EXPECT_FALSE(n.GetAttributeValue(L"missing", buffer, 8));
    EXPECT_TRUE(n.GetAttributeValue(1, buffer, 8));
    EXPECT_EQ(std::wstring(buffer), L"Go");

    const CMarkupNode invalid;
    EXPECT_EQ(invalid.GetName(), nullptr);
    EXPECT_EQ(invalid.GetAttributeValue(L"x"), nullptr);
    EXPECT_EQ(invalid.GetAttributeCount(), 0);
    EXPECT_FALSE(invalid.GetChild().IsValid());
}

TEST(Markup, AtMostSixtyFourAttributesAreVisible)
{
    std::wstring text = L"<a";
    for (int i = 0; i < 70; ++i) {
        text += L" k" + std::to_wstring(i) + L"=\"v" + std::to_wstring(i) + L"\"";
    }
    text += L"/>";
    CMarkup doc(text.c_str());
    ASSERT_TRUE(doc.IsValid());
    CMarkupNode a = doc.GetRoot();
    EXPECT_EQ(a.GetAttributeCount(), 64);
    EXPECT_EQ(Str(a.GetAttributeValue(L"k63")), L"v63");
    EXPECT_EQ(Str(a.GetAttributeValue(L"k64")), L"") << "parsed but not reachable";
}

TEST(Markup, WhitespaceHandling)
{
    CMarkup kept(L"<a x=\"one   two\">a \t b</a>");
    EXPECT_EQ(Str(kept.GetRoot().GetAttributeValue(L"x")), L"one   two");
    EXPECT_EQ(Str(kept.GetRoot().GetValue()), L"a \t b");

    CMarkup collapsed;
    collapsed.SetPreserveWhitespace(false);
    ASSERT_TRUE(collapsed.Load(L"<a x=\"one   two\">a \t b</a>"));
    EXPECT_EQ(Str(collapsed.GetRoot().GetAttributeValue(L"x")), L"one two");
    EXPECT_EQ(Str(collapsed.GetRoot().GetValue()), L"a b");
    EXPECT_EQ(collapsed.GetRoot().GetAttributeCount(), 1);

    CMarkup spaced(L"<a   x  =  \"1\"   y=\"2\"  >t</a  >");
    ASSERT_TRUE(spaced.IsValid()) << Str(spaced.GetLastErrorMessage());
    EXPECT_EQ(spaced.GetRoot().GetAttributeCount(), 2);
    EXPECT_EQ(Str(spaced.GetRoot().GetAttributeValue(L"y")), L"2");
    EXPECT_EQ(Str(spaced.GetRoot().GetValue()), L"t");
}

TEST(Markup, ReloadAndReleaseReset)
{
    CMarkup doc(L"<a/>");
    ASSERT_TRUE(doc.IsValid());
    EXPECT_FALSE(doc.Load(L"<a x='1'/>"));
    EXPECT_FALSE(doc.IsValid());
    EXPECT_TRUE(doc.Load(L"<b/>"));
    EXPECT_EQ(Str(doc.GetLastErrorMessage()), L"") << "a new load clears the old error";
    EXPECT_EQ(Str(doc.GetRoot().GetName()), L"b");
    doc.Release();
    EXPECT_FALSE(doc.IsValid());
    EXPECT_FALSE(doc.GetRoot().IsValid());

    wchar_t message[5] = {};
    CMarkup failed(L"<a x='1'/>");
    failed.GetLastErrorMessage(message, 4);
    EXPECT_EQ(std::wstring(message, 4), L"Expe");
}

TEST(Markup, ManyElementsGrowTheRecordArray)
{
    std::wstring text = L"<root>";
    for (int i = 0; i < 3000; ++i) {
        text += L"<item n=\"" + std::to_wstring(i) + L"\"/>";
    }
    text += L"</root>";
    CMarkup doc(text.c_str());
    ASSERT_TRUE(doc.IsValid());
    int count = 0;
    for (CMarkupNode n = doc.GetRoot().GetChild(); n.IsValid(); n = n.GetSibling()) {
        EXPECT_EQ(Str(n.GetAttributeValue(L"n")), std::to_wstring(count));
        ++count;
    }
    EXPECT_EQ(count, 3000);
}

TEST(Markup, DeepNestingIsRefused)
{
    std::wstring deep;
    for (int i = 0; i < 5000; ++i) {
        deep += L"<a>";
    }
    CMarkup doc(deep.c_str());
    EXPECT_FALSE(doc.IsValid());
    EXPECT_EQ(Str(doc.GetLastErrorMessage()), L"Elements nested too deeply");

    std::wstring ok;
    for (int i = 0; i < 200; ++i) {
        ok += L"<a>";
    }
    for (int i = 0; i < 200; ++i) {
        ok += L"</a>";
    }
    EXPECT_TRUE(CMarkup(ok.c_str()).IsValid());
}

TEST(MarkupEncoding, Utf8WithAndWithoutByteOrderMarkParseAlike)
{
    const std::string body = "<Label text=\"\xE6\x9C\x80\xE6\x96\xB0\xE7\x89\x88\xE6\x9C\xAC\"/>";
    CMarkup plain;
    CMarkup marked;
    ASSERT_TRUE(LoadUtf8(plain, body));
    ASSERT_TRUE(LoadUtf8(marked, "\xEF\xBB\xBF" + body));
    EXPECT_EQ(Str(plain.GetRoot().GetName()), Str(marked.GetRoot().GetName()));
    EXPECT_EQ(Str(plain.GetRoot().GetAttributeValue(L"text")), L"\u6700\u65b0\u7248\u672c");
    EXPECT_EQ(Str(marked.GetRoot().GetAttributeValue(L"text")), L"\u6700\u65b0\u7248\u672c");
}

TEST(MarkupEncoding, Utf16NeedsAByteOrderMark)
{
    const unsigned char little[] = {0xFF, 0xFE, '<', 0, 'a', 0, '/', 0, '>', 0};
    std::vector<unsigned char> big = {0xFE, 0xFF, 0, '<', 0, 'b', 0, '/', 0, '>'};
    const std::vector<unsigned char> bigBefore = big;
    const unsigned char bare[] = {'<', 0, 'a', 0, '/', 0, '>', 0};
    CMarkup doc;
    ASSERT_TRUE(doc.LoadFromMem(little, sizeof(little), XMLFILE_ENCODING_UNICODE));
    EXPECT_EQ(Str(doc.GetRoot().GetName()), L"a");
    ASSERT_TRUE(doc.LoadFromMem(big.data(), static_cast<uint32_t>(big.size()), XMLFILE_ENCODING_UNICODE));
    EXPECT_EQ(Str(doc.GetRoot().GetName()), L"b");
    EXPECT_EQ(big, bigBefore) << "the caller's bytes stay as they were";
    EXPECT_FALSE(doc.LoadFromMem(bare, sizeof(bare), XMLFILE_ENCODING_UNICODE));
    EXPECT_EQ(Str(doc.GetLastErrorMessage()), L"UTF-16 text without a byte-order mark");
    EXPECT_FALSE(doc.LoadFromMem(little, 1, XMLFILE_ENCODING_UNICODE));
}

TEST(MarkupEncoding, AnsiPageIsConverted)
{
    const std::string text = "<a x=\"plain\"/>";
    CMarkup doc;
    ASSERT_TRUE(doc.LoadFromMem(reinterpret_cast<const unsigned char*>(text.data()), static_cast<uint32_t>(text.size()),
                                XMLFILE_ENCODING_ANSI));
    EXPECT_EQ(Str(doc.GetRoot().GetAttributeValue(L"x")), L"plain");
}
