#include <gtest/gtest.h>

#include "VirtualEventLoop.h"

using fw::delay;
using fw::sim::ms;
using fw::sim::VirtualEventLoop;

TEST(Delay, WaitsStrictlyLongerThanItsCount)
{
    VirtualEventLoop loop;
    delay(loop, 10);
    EXPECT_EQ(loop.tickCount(), 11u);
}

TEST(Delay, ZeroYieldsAndReturnsOnceTheCounterMoves)
{
    VirtualEventLoop loop;
    delay(loop, 0);
    EXPECT_GE(loop.yields(), 1u);
    EXPECT_EQ(loop.tickCount(), 1u);
}

TEST(Delay, NegativeCountYieldsExactlyOnceWithoutWaiting)
{
    VirtualEventLoop loop;
    delay(loop, -5);
    EXPECT_EQ(loop.yields(), 1u);
    EXPECT_EQ(loop.now(), 0u);
}

TEST(Delay, CounterWrapDoesNotEndTheWaitEarly)
{
    VirtualEventLoop loop(0xFFFFFFF0u);
    delay(loop, 100);
    EXPECT_EQ(loop.now(), ms(101));
}

TEST(Delay, EventsRunWhileWaiting)
{
    VirtualEventLoop loop;
    std::vector<uint64_t> ranAt;
    loop.schedule(ms(5), [&] { ranAt.push_back(loop.now()); });
    loop.schedule(ms(30), [&] { ranAt.push_back(loop.now()); });
    delay(loop, 20);
    EXPECT_EQ(ranAt, (std::vector<uint64_t>{ms(5)}));
    EXPECT_EQ(loop.tickCount(), 21u);
}

TEST(Delay, LongWaitCostsNoRealTimeAndRunsTheLoopOnlyOnEvents)
{
    VirtualEventLoop loop;
    delay(loop, 30000);
    EXPECT_EQ(loop.tickCount(), 30001u);
    EXPECT_LE(loop.yields(), 3u);  // no spinning: it blocks until the deadline
}
