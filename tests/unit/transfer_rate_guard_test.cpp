#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "transfer_rate_guard.h"

namespace {

constexpr uint64_t kKiB = 1024;

struct Arrival {
    uint64_t atMs;
    uint64_t bytes; // 0: a look at the clock without data
};

// 64 KiB in any 60 s of the transfer's active time, the download's numbers.
// Each row is a transfer from 1,000 ms on, and the arrival at which the rate
// is first missed (-1: never).
TEST(TransferRateGuard, FailsWhenAnyWindowHoldsTooLittle)
{
    const struct {
        const char* what;
        std::vector<Arrival> arrivals;
        int failsAt;
    } cases[] = {
        {"nothing for just under the window", {{60999, 0}}, -1},
        {"nothing for the window", {{60999, 0}, {61000, 0}}, 1},
        {"64 KiB at once, then nothing", {{1000, 64 * kKiB}, {61000, 0}}, 1},
        {"64 KiB at once, then 1 byte a second", {{1000, 64 * kKiB}, {30000, 1}, {60999, 1}, {61000, 1}}, 3},
        {"64 KiB within the first window", {{2000, 32 * kKiB}, {60000, 32 * kKiB}, {61000, 0}}, -1},
        {"1 KiB every 14 s (inside a 15 s receive time-out)",
         {{15000, kKiB}, {29000, kKiB}, {43000, kKiB}, {57000, kKiB}, {71000, kKiB}},
         4},
        // Nobody looked while nothing came; the burst at the end does not
        // hide the empty minute before it.
        {"64 KiB, nothing for two minutes, then 1 MiB", {{1000, 64 * kKiB}, {121000, 1024 * kKiB}}, 1},
        {"32 KiB every 20 s",
         {{21000, 32 * kKiB},
          {41000, 32 * kKiB},
          {61000, 32 * kKiB},
          {81000, 32 * kKiB},
          {101000, 32 * kKiB},
          {121000, 0}},
         -1},
    };
    for (const auto& c : cases) {
        TransferRateGuard guard(64 * kKiB, 60000, 1000);
        int failed = -1;
        for (size_t i = 0; i < c.arrivals.size() && failed < 0; ++i)
            if (!guard.Arrived(c.arrivals[i].bytes, c.arrivals[i].atMs))
                failed = int(i);
        EXPECT_EQ(failed, c.failsAt) << c.what;
    }
}

// Pauses between retries are no part of the transfer: after 50 s of nothing
// and a pause of 30 s, 10 s more of nothing is still inside the window.
TEST(TransferRateGuard, PausesLeftOutDoNotCount)
{
    TransferRateGuard guard(64 * kKiB, 60000, 0);
    EXPECT_TRUE(guard.Arrived(10, 50000));
    guard.LeaveOut(30000);
    EXPECT_TRUE(guard.Holds(89999));
    EXPECT_FALSE(guard.Holds(90000));
}

} // namespace
