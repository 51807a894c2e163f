#pragma once

#include <cstdint>
#include <functional>
#include <queue>
#include <vector>

#include "ground/EventLoop.h"

namespace fw::sim {

using Micros = uint64_t;

inline constexpr Micros ms(uint64_t milliseconds) { return milliseconds * 1000; }
inline constexpr Micros seconds(uint64_t s) { return s * 1000000; }

// Thrown when virtual time passes the limit: the program under test hangs.
// Deliberately not a std::exception, so no handler of the program can
// swallow it.
struct HangDetected {
    Micros at;
};

// A discrete-event clock: waiting jumps straight to the next event, so a
// 30-second protocol wait costs microseconds and every run is repeatable.
class VirtualEventLoop : public fw::EventLoop {
public:
    // tickAtStart lets tests put the 32-bit tick counter just before its wrap.
    explicit VirtualEventLoop(uint32_t tickAtStart = 0, Micros timeLimit = seconds(36000));

    uint32_t tickCount() const override;
    void processPendingEvents() override;
    void waitForEvents(uint32_t maxMs) override;

    Micros now() const { return now_; }
    void schedule(Micros at, std::function<void()> action);
    void scheduleAfter(Micros after, std::function<void()> action) { schedule(now_ + after, std::move(action)); }

    // Time passes without any event running, as in a call that blocks the
    // thread; events that fell due meanwhile run at the next yield.
    void advanceTo(Micros t);

    // Lets the program sit idle until time t, running events as they fall due.
    void runUntil(Micros t);

    uint64_t yields() const { return yields_; }
    bool hasPendingEvents() const { return !queue_.empty(); }

private:
    struct Item {
        Micros at;
        uint64_t seq;
        std::function<void()> action;
        bool operator>(const Item& o) const { return at != o.at ? at > o.at : seq > o.seq; }
    };
    void checkLimit() const;

    std::priority_queue<Item, std::vector<Item>, std::greater<>> queue_;
    Micros now_ = 0;
    uint64_t seq_ = 0;
    uint64_t yields_ = 0;
    uint32_t tickAtStart_;
    Micros timeLimit_;
};

} // namespace fw::sim
