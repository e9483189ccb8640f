#include "attribute_list.h"
#include "exact_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace SkinUI;

namespace {

using Pairs = std::vector<std::pair<std::wstring, std::wstring>>;

Pairs Read(const wchar_t* list)
{
    CAttributeListReader reader(Exact(list).get());
    Pairs pairs;
    CSkinString name, value;
    while (reader.Next(name, value)) {
        pairs.emplace_back(name.GetData(), value.GetData());
    }
    EXPECT_FALSE(reader.Next(name, value)) << "the end stays the end";
    return pairs;
}

struct ListCase {
    const wchar_t* list;
    Pairs expected;
};

} // namespace

TEST(AttributeList, PairsEndWhereTheSyntaxBreaks)
{
    const ListCase cases[] = {
        {L"name=\"a\" text=\"b\"", {{L"name", L"a"}, {L"text", L"b"}}},
        {L"a=\"1\",b=\"2\"", {{L"a", L"1"}, {L"b", L"2"}}},
        {L"a=\"1\"b=\"2\"", {{L"a", L"1"}}},
        {L"a=\"1\";b=\"2\"", {{L"a", L"1"}}},
        {L"a=\"1\"  b=\"2\"", {{L"a", L"1"}, {L" b", L"2"}}},
        {L"a=\"1\" ", {{L"a", L"1"}}},
        {L"a=\"1\",", {{L"a", L"1"}}},
        {L"a=\"\" b=\"2\"", {{L"a", L""}, {L"b", L"2"}}},
        {L"=\"v\"", {{L"", L"v"}}},
        {L"a=\"1\" b", {{L"a", L"1"}}},
        {L"a= \"1\"", {}},
        {L"a=1", {}},
        {L"a=\"unterminated", {}},
        {L"a=\"1\" b=\"", {{L"a", L"1"}}},
        {L"a", {}},
        {L"=", {}},
        {L"", {}},
        {L"a=&quot;x&quot; b=&quot;y&quot;", {{L"a", L"x"}, {L"b", L"y"}}},
        {L"text=\"x&quot;y\"", {{L"text", L"x"}}},
        {L"text=\"a=b, c\"", {{L"text", L"a=b, c"}}},
        {L"text=\"\U0001D11E\u7248\"", {{L"text", L"\U0001D11E\u7248"}}},
    };
    for (const ListCase& c : cases) {
        EXPECT_EQ(Read(c.list), c.expected) << c.list;
    }
}

TEST(AttributeList, NullListHasNoPairs)
{
    CAttributeListReader reader(nullptr);
    CSkinString name, value;
    EXPECT_FALSE(reader.Next(name, value));
}
