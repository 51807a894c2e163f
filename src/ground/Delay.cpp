#include "ground/EventLoop.h"

namespace fw {

void delay(EventLoop& loop, int32_t ms)
{
    const uint32_t start = loop.tickCount();
    loop.processPendingEvents();
    for (;;) {
        // 32-bit arithmetic, so a wrap of the counter does not end the wait early.
        const auto elapsed = static_cast<int32_t>(loop.tickCount() - start);
        if (elapsed > ms) return;
        loop.waitForEvents(static_cast<uint32_t>(ms - elapsed) + 1u);
    }
}

} // namespace fw
