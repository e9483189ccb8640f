#pragma once

#include <cstdint>
#include <deque>
#include <utility>

// Ends a transfer that is kept alive but never finishes: one that receives
// fewer than `minBytes` in any `windowMs` of its active time, as a server
// sending a little just inside each receive time-out would. Times are the
// caller's clock in milliseconds; pauses the caller takes between retries
// are left out with LeaveOut.
class TransferRateGuard {
public:
    TransferRateGuard(uint64_t minBytes, uint64_t windowMs, uint64_t startMs);

    // Counts `bytes` that arrived at `nowMs`; false once the rate was missed.
    bool Arrived(uint64_t bytes, uint64_t nowMs);
    // Whether the rate still holds at `nowMs`.
    bool Holds(uint64_t nowMs) const;
    // Leaves `ms` of the time that has passed out of every window.
    void LeaveOut(uint64_t ms) { leftOut_ += ms; }

private:
    uint64_t Active(uint64_t nowMs) const;

    uint64_t minBytes_;
    uint64_t windowMs_;
    uint64_t startMs_;
    uint64_t leftOut_ = 0;
    uint64_t total_ = 0;
    // (active time, bytes in all by then), from the moment the last
    // `minBytes_` began to arrive: the window that ends now holds fewer than
    // `minBytes_` exactly when the first of these is `windowMs_` old.
    std::deque<std::pair<uint64_t, uint64_t>> arrivals_;
};
