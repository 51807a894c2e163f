#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "qt/QtEventLoop.h"

using fw::qt::QtEventLoop;

// A loaded machine may run a test late, but never this late: only a wait that
// missed its event or its deadline takes longer.
constexpr qint64 kLatenessCapMs = 30000;

TEST(QtEventLoop, PendingEventsRunAtOnceAndAWaitEndsAtAnEventOrItsDeadline)
{
    QtEventLoop loop;
    bool ran = false;
    QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { ran = true; }, Qt::QueuedConnection);
    loop.processPendingEvents();
    EXPECT_TRUE(ran);

    ran = false;
    QTimer::singleShot(20, [&] { ran = true; });
    QElapsedTimer clock;
    clock.start();
    while (!ran) loop.waitForEvents(2 * kLatenessCapMs);
    EXPECT_LT(clock.elapsed(), kLatenessCapMs);  // ended at the event, not at its deadline

    loop.processPendingEvents();
    clock.restart();
    const uint32_t before = loop.tickCount();
    loop.waitForEvents(80);  // nothing comes
    EXPECT_GE(loop.tickCount() - before, 70u);
    EXPECT_LT(clock.elapsed(), kLatenessCapMs);
}

// The thread sleeps between events: it wakes for the other timer's ticks and
// the wait's own deadline, tens of times; a spinning wait wakes thousands of
// times. A loaded machine wakes it less often, never more.
TEST(QtEventLoop, DelayRunsEventsAndSleepsBetweenThem)
{
    QtEventLoop loop;
    int ticks = 0;
    QTimer other;  // another timer of the program keeps firing meanwhile
    QObject::connect(&other, &QTimer::timeout, [&] { ++ticks; });
    other.start(50);
    int wakes = 0;
    QObject counting;  // the count ends with the test
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, &counting,
                     [&] { ++wakes; });

    const uint32_t start = loop.tickCount();
    fw::delay(loop, 300);
    EXPECT_GT(loop.tickCount() - start, 300u);
    EXPECT_GE(ticks, 1);  // events ran during the wait
    EXPECT_LT(wakes, 100);
}
