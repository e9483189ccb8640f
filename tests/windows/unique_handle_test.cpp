#include <gtest/gtest.h>

#include <utility>

#include "base/unique_handle.h"

namespace {

bool IsOpen(HANDLE handle)
{
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(UniqueHandle, ClosesOnceAndHandsOwnershipOn)
{
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(IsOpen(event));
    {
        base::UniqueHandle first(event);
        base::UniqueHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.get(), event);
        base::UniqueHandle third;
        third = std::move(second);
        EXPECT_TRUE(IsOpen(event)) << "moving closes nothing";
    }
    EXPECT_FALSE(IsOpen(event)) << "the last owner closes it";

    base::UniqueHandle none(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(none);
    HANDLE kept = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    base::UniqueHandle owner(kept);
    EXPECT_EQ(owner.release(), kept);
    EXPECT_TRUE(IsOpen(kept)) << "released, not closed";
    CloseHandle(kept);
}

} // namespace
