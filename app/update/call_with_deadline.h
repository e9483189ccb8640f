#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

// Runs `work` on a thread of its own and waits for its result for at most
// `deadline`, or until `cancelled` (asked every 50 ms when given) says so.
// The wait dispatches nothing. A thread still working then is left to
// itself: it writes only into a state it shares with this call, which lives
// until both are done with it, and it must touch nothing else that the
// process frees at exit (its work holds copies, not references). Nothing
// comes back when the deadline passed, the wait was cancelled, `work`
// threw, or no thread could be started.
template <typename Result>
std::optional<Result> CallWithDeadline(std::function<Result()> work, std::chrono::milliseconds deadline,
                                       const std::function<bool()>& cancelled = nullptr)
{
    struct State {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::optional<Result> result;
    };
    auto state = std::make_shared<State>();
    try {
        std::thread([state, work = std::move(work)] {
            std::optional<Result> result;
            try {
                result = work();
            } catch (...) {
            }
            std::lock_guard<std::mutex> lock(state->mutex);
            state->result = std::move(result);
            state->finished = true;
            state->done.notify_all();
        }).detach();
    } catch (...) {
        return std::nullopt;
    }
    const auto end = std::chrono::steady_clock::now() + deadline;
    const auto slice = cancelled ? std::chrono::milliseconds(50) : deadline;
    std::unique_lock<std::mutex> lock(state->mutex);
    while (!state->finished && !(cancelled && cancelled())) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= end)
            break;
        state->done.wait_for(lock, std::min<std::chrono::steady_clock::duration>(slice, end - now));
    }
    if (!state->finished)
        return std::nullopt;
    return std::move(state->result);
}
