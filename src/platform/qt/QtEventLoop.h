#pragma once

#include "ground/EventLoop.h"

namespace fw::qt {

// The millisecond clock and event pump on Qt: a monotonic clock cut to a
// wrapping 32-bit counter, and Qt's event loop of the calling thread.
class QtEventLoop final : public fw::EventLoop {
public:
    uint32_t tickCount() const override;
    void processPendingEvents() override;
    // Sleeps in Qt's event loop until an event has run or the time is up.
    void waitForEvents(uint32_t maxMs) override;
};

} // namespace fw::qt
