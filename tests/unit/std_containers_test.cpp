#include "skin_geometry.h"
#include "std_ptr_array.h"
#include "std_string_ptr_map.h"
#include "std_val_array.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace SkinUI;

namespace {
void* P(intptr_t n)
{
    return reinterpret_cast<void*>(n);
}
} // namespace

TEST(StdPtrArray, GrowsFromElevenByDoubling)
{
    CStdPtrArray a;
    EXPECT_EQ(a.GetCapacity(), 0);
    ASSERT_TRUE(a.Add(P(1)));
    EXPECT_EQ(a.GetCapacity(), 11);
    for (int i = 2; i <= 10; ++i) {
        a.Add(P(i));
    }
    EXPECT_EQ(a.GetCapacity(), 11);
    a.Add(P(11));
    EXPECT_EQ(a.GetCapacity(), 22) << "the 11th element grows the storage";
    for (int i = 12; i <= 22; ++i) {
        a.Add(P(i));
    }
    EXPECT_EQ(a.GetCapacity(), 44);
    EXPECT_EQ(a.GetSize(), 22);
    for (int i = 0; i < 22; ++i) {
        EXPECT_EQ(a[i], P(i + 1));
    }
}

TEST(StdPtrArray, InsertRemoveAndBounds)
{
    CStdPtrArray a;
    EXPECT_FALSE(a.InsertAt(1, P(9)));
    EXPECT_FALSE(a.InsertAt(-1, P(9)));
    EXPECT_TRUE(a.InsertAt(0, P(1))); // at the count: an Add
    a.Add(P(3));
    EXPECT_TRUE(a.InsertAt(1, P(2)));
    EXPECT_TRUE(a.InsertAt(0, P(0)));
    ASSERT_EQ(a.GetSize(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(a.GetAt(i), P(i));
    }
    EXPECT_EQ(a.GetAt(4), nullptr);
    EXPECT_EQ(a.GetAt(-1), nullptr);
    EXPECT_EQ(a.Find(P(2)), 2);
    EXPECT_EQ(a.Find(P(7)), -1);

    EXPECT_FALSE(a.Remove(4));
    EXPECT_TRUE(a.Remove(0));
    EXPECT_TRUE(a.Remove(2));
    ASSERT_EQ(a.GetSize(), 2);
    EXPECT_EQ(a[0], P(1));
    EXPECT_EQ(a[1], P(2));
    EXPECT_FALSE(a.SetAt(2, P(5)));
    EXPECT_TRUE(a.SetAt(1, P(5)));
    EXPECT_EQ(a[1], P(5));

    const CStdPtrArray copy(a);
    EXPECT_EQ(copy.GetSize(), 2);
    EXPECT_EQ(copy.GetAt(1), P(5));

    a.Empty();
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetCapacity(), 0);
}

TEST(StdPtrArray, ResizeGivesNullSlots)
{
    CStdPtrArray a;
    a.Add(P(1));
    a.Resize(3);
    ASSERT_EQ(a.GetSize(), 3);
    EXPECT_EQ(a.GetCapacity(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(a.GetAt(i), nullptr);
    }
    a.Add(P(4)); // count reaches the capacity: doubles
    EXPECT_EQ(a.GetCapacity(), 6);
}

TEST(StdValArray, CopiesValuesAndKeepsStorageOnEmpty)
{
    struct Pair {
        int a;
        double b;
    };
    CStdValArray v(sizeof(Pair));
    for (int i = 0; i < 12; ++i) {
        const Pair p{i, i * 0.5};
        ASSERT_TRUE(v.Add(&p));
    }
    EXPECT_EQ(v.GetCapacity(), 22);
    EXPECT_EQ(static_cast<Pair*>(v.GetAt(11))->a, 11);
    EXPECT_EQ(v.GetAt(12), nullptr);
    EXPECT_TRUE(v.Remove(0));
    EXPECT_EQ(static_cast<Pair*>(v[0])->a, 1);
    EXPECT_DOUBLE_EQ(static_cast<Pair*>(v[10])->b, 5.5);
    EXPECT_FALSE(v.Remove(11));
    v.Empty();
    EXPECT_TRUE(v.IsEmpty());
    EXPECT_EQ(v.GetCapacity(), 22);
}

TEST(StdStringPtrMap, HashIsTakenFromTheLastCharacter)
{
    // h = h * 33 + c over "ab" from the end: 'b' first, then 'a'.
    EXPECT_EQ(CStdStringPtrMap::HashKey(L"ab"), (static_cast<unsigned>(L'b') * 33u) + L'a');
    EXPECT_EQ(CStdStringPtrMap::HashKey(L""), 0u);
}

TEST(StdStringPtrMap, BucketMinimumAndResize)
{
    CStdStringPtrMap small(5);
    EXPECT_EQ(small.GetBucketCount(), 16);
    small.Resize(5);
    EXPECT_EQ(small.GetBucketCount(), 5);
    EXPECT_EQ(CStdStringPtrMap().GetBucketCount(), 83);

    small.Resize(0);
    EXPECT_FALSE(small.Insert(L"a", P(1))) << "no buckets, nothing stored";
    EXPECT_EQ(small.Set(L"a", P(2)), P(2));
    EXPECT_EQ(small.GetSize(), 0);
}

TEST(StdStringPtrMap, InsertKeepsSetReplaces)
{
    CStdStringPtrMap m;
    EXPECT_TRUE(m.Insert(L"font", P(1)));
    EXPECT_FALSE(m.Insert(L"font", P(2)));
    EXPECT_EQ(m.Find(L"font"), P(1));
    EXPECT_EQ(m.Set(L"font", P(3)), P(1));
    EXPECT_EQ(m.Find(L"font"), P(3));
    EXPECT_EQ(m.Set(L"image", P(4)), nullptr);
    EXPECT_EQ(m.GetSize(), 2);

    EXPECT_TRUE(m.Insert(L"Font", P(5))) << "keys are case-sensitive";
    EXPECT_EQ(m.Find(L"Font"), P(5));
    EXPECT_EQ(m.Find(L"FONT"), nullptr);

    EXPECT_TRUE(m.Remove(L"font"));
    EXPECT_FALSE(m.Remove(L"font"));
    EXPECT_EQ(m.Find(L"font"), nullptr);
    EXPECT_EQ(m.GetSize(), 2);
    m.RemoveAll();
    EXPECT_EQ(m.GetSize(), 0);
    EXPECT_EQ(m.GetBucketCount(), 83);
}

TEST(StdStringPtrMap, IterationWalksBucketsFromTheLastAndMovesHitsToTheFront)
{
    // With 16 buckets, "a" (97) falls in bucket 1 and "q" (113) in bucket 1
    // too; "b" (98) in bucket 2.
    CStdStringPtrMap m(16);
    m.Insert(L"a", P(1));
    m.Insert(L"q", P(2)); // head of bucket 1, before "a"
    m.Insert(L"b", P(3));
    ASSERT_EQ(m.GetSize(), 3);
    EXPECT_EQ(std::wstring(m.GetAt(0)), L"b");
    EXPECT_EQ(std::wstring(m.GetAt(1)), L"q");
    EXPECT_EQ(std::wstring(m.GetAt(2)), L"a");
    EXPECT_EQ(m.GetAt(3), nullptr);
    EXPECT_EQ(m.GetAt(-1), nullptr);

    EXPECT_EQ(m.Find(L"a", false), P(1));
    EXPECT_EQ(std::wstring(m[1]), L"q") << "no move without optimize";
    EXPECT_EQ(m.Find(L"a"), P(1));
    EXPECT_EQ(std::wstring(m[1]), L"a") << "moved to the front of its bucket";
    EXPECT_EQ(std::wstring(m[2]), L"q");

    // The chain stays intact after the move: removing from the middle works.
    EXPECT_TRUE(m.Remove(L"q"));
    EXPECT_EQ(m.Find(L"a"), P(1));
    EXPECT_EQ(m.GetSize(), 2);
}

TEST(StdStringPtrMap, ManyKeysSurviveChainingAndEnumeration)
{
    CStdStringPtrMap m(16);
    std::vector<std::wstring> keys;
    for (int i = 0; i < 500; ++i) {
        keys.push_back(L"key" + std::to_wstring(i));
        ASSERT_TRUE(m.Insert(keys.back().c_str(), P(i + 1)));
    }
    for (int i = 0; i < 500; i += 7) {
        EXPECT_EQ(m.Find(keys[static_cast<size_t>(i)].c_str()), P(i + 1));
    }
    std::set<std::wstring> seen;
    for (int i = 0; i < m.GetSize(); ++i) {
        seen.insert(m.GetAt(i));
    }
    EXPECT_EQ(seen.size(), 500u);
    for (int i = 0; i < 500; i += 2) {
        ASSERT_TRUE(m.Remove(keys[static_cast<size_t>(i)].c_str()));
    }
    EXPECT_EQ(m.GetSize(), 250);
    EXPECT_EQ(m.Find(L"key1"), P(2));
    EXPECT_EQ(m.Find(L"key2"), nullptr);
}

TEST(SkinGeometry, RectOperations)
{
    CSkinRect r(10, 20, 30, 60);
    EXPECT_EQ(r.GetWidth(), 20);
    EXPECT_EQ(r.GetHeight(), 40);
    r.Offset(5, -5);
    EXPECT_EQ(r.left, 15);
    EXPECT_EQ(r.bottom, 55);
    r.Deflate(5, 5);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 30);
    EXPECT_EQ(r.bottom, 50);
    r.ResetOffset();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 10);
    EXPECT_EQ(r.bottom, 30);

    CSkinRect flipped(30, 40, 10, 20);
    flipped.Normalize();
    EXPECT_EQ(flipped.left, 10);
    EXPECT_EQ(flipped.top, 20);
    EXPECT_EQ(flipped.right, 30);
    EXPECT_EQ(flipped.bottom, 40);

    // Insets and paddings saturate instead of wrapping round, and the width
    // stays one that 32 bits can say.
    const RECT inset = DeflatedRect(RECT{-2000000000, 0, 2000000000, 10}, RECT{-2000000000, 5, -2000000000, 5});
    EXPECT_EQ(inset.left, INT32_MIN);
    EXPECT_EQ(inset.right, INT32_MIN + INT32_MAX);
    EXPECT_EQ(inset.top, 5);
    EXPECT_EQ(inset.bottom, 5);

    // Join counts an empty rectangle; Union ignores it.
    CSkinRect joined(10, 10, 20, 20);
    joined.Join(CSkinRect(0, 0, 0, 0));
    EXPECT_EQ(joined.left, 0);
    EXPECT_EQ(joined.right, 20);
    CSkinRect united(10, 10, 20, 20);
    united.Union(CSkinRect(0, 0, 0, 0));
    EXPECT_EQ(united.left, 10);
    united.Union(CSkinRect(15, 5, 40, 12));
    EXPECT_EQ(united.top, 5);
    EXPECT_EQ(united.right, 40);
    CSkinRect empty;
    EXPECT_TRUE(empty.IsNull());
    empty.Union(CSkinRect(1, 2, 3, 4));
    EXPECT_EQ(empty.left, 1);
    EXPECT_EQ(empty.bottom, 4);
    empty.Empty();
    EXPECT_TRUE(empty.IsNull());
}

TEST(SkinGeometry, SizeAndPoint)
{
    const CSkinSize fromRect(CSkinRect(5, 5, 25, 15));
    EXPECT_EQ(fromRect.cx, 20);
    EXPECT_EQ(fromRect.cy, 10);

    const CSkinPoint negative(static_cast<LPARAM>(0xFFFFFFFF));
    EXPECT_EQ(negative.x, -1);
    EXPECT_EQ(negative.y, -1);
    const CSkinPoint mixed(static_cast<LPARAM>((0x0010u << 16) | 0xFFFEu));
    EXPECT_EQ(mixed.x, -2);
    EXPECT_EQ(mixed.y, 16);
    const CSkinPoint large(static_cast<LPARAM>((0x7FFFu << 16) | 0x8000u));
    EXPECT_EQ(large.x, -32768);
    EXPECT_EQ(large.y, 32767);
}
