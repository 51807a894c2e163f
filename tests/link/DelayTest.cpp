#include <gtest/gtest.h>

#include "VirtualEventLoop.h"

using fw::delay;
using fw::sim::ms;
using fw::sim::VirtualEventLoop;

// Started just before the millisecond counter wraps: the wait still runs its
// full count and one more, and blocks until the deadline instead of spinning.
TEST(Delay, CounterWrapDoesNotEndALongWaitEarlyAndNothingSpins)
{
    VirtualEventLoop loop(0xFFFFFFF0u);
    delay(loop, 30000);
    EXPECT_EQ(loop.now(), ms(30001));
    EXPECT_LE(loop.yields(), 3u);
}
