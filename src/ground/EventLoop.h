#pragma once

#include <cstdint>

namespace fw {

// The millisecond clock and the event pump of the one user-interface thread.
// Under Qt these are a monotonic clock and Qt's event loop; under the
// simulator a virtual clock that jumps from event to event.
class EventLoop {
public:
    virtual ~EventLoop() = default;

    // Milliseconds on a 32-bit counter that wraps.
    virtual uint32_t tickCount() const = 0;

    // Runs every pending event (port, timer, window) and returns.
    virtual void processPendingEvents() = 0;

    // Blocks until at least one event has run or maxMs milliseconds have
    // passed, whichever comes first. Never spins.
    virtual void waitForEvents(uint32_t maxMs) = 0;
};

// Waits until more than `ms` milliseconds have passed on the tick counter,
// yielding at least once, even for 0 or a negative count.
void delay(EventLoop& loop, int32_t ms);

} // namespace fw
