#include "transfer_rate_guard.h"

TransferRateGuard::TransferRateGuard(uint64_t minBytes, uint64_t windowMs, uint64_t startMs)
    : minBytes_(minBytes > 0 ? minBytes : 1), windowMs_(windowMs), startMs_(startMs)
{
    arrivals_.emplace_back(0, 0);
}

uint64_t TransferRateGuard::Active(uint64_t nowMs) const
{
    const uint64_t elapsed = nowMs > startMs_ ? nowMs - startMs_ : 0;
    return elapsed > leftOut_ ? elapsed - leftOut_ : 0;
}

bool TransferRateGuard::Arrived(uint64_t bytes, uint64_t nowMs)
{
    // The count stood still since the last arrival, so of the windows that
    // ended meanwhile the one ending now, before these bytes, held least:
    // looking at it sees every window, however seldom the caller looks.
    if (!Holds(nowMs))
        return false;
    if (bytes > 0) {
        const uint64_t at = Active(nowMs);
        total_ += bytes;
        // Arrivals within one millisecond are one.
        if (arrivals_.back().first == at)
            arrivals_.back().second = total_;
        else
            arrivals_.emplace_back(at, total_);
        // Keep the arrival that took the count past total_ - minBytes_ and
        // those after it.
        if (total_ >= minBytes_)
            while (arrivals_.front().second <= total_ - minBytes_)
                arrivals_.pop_front();
    }
    return true;
}

bool TransferRateGuard::Holds(uint64_t nowMs) const
{
    const uint64_t at = Active(nowMs);
    const uint64_t since = arrivals_.front().first;
    return at < since || at - since < windowMs_;
}
