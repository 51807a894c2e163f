#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <ctime>

#include "qt/QtEventLoop.h"

using fw::qt::QtEventLoop;

namespace {

// The processor time this program has used, user and system.
double cpuMilliseconds() { return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

} // namespace

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
    while (!ran && clock.elapsed() < 5000) loop.waitForEvents(60000);
    EXPECT_TRUE(ran);
    EXPECT_LT(clock.elapsed(), 5000);

    loop.processPendingEvents();
    clock.restart();
    const uint32_t before = loop.tickCount();
    loop.waitForEvents(80);  // nothing comes
    EXPECT_GE(clock.elapsed(), 70);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_GE(loop.tickCount() - before, 70u);
}

TEST(QtEventLoop, DelaySleepsInsteadOfSpinning)
{
    QtEventLoop loop;
    int ticks = 0;
    QTimer other;  // another timer of the program keeps firing meanwhile
    QObject::connect(&other, &QTimer::timeout, [&] { ++ticks; });
    other.start(50);

    const double cpuBefore = cpuMilliseconds();
    const uint32_t start = loop.tickCount();
    fw::delay(loop, 300);
    const uint32_t waited = loop.tickCount() - start;
    const double cpu = cpuMilliseconds() - cpuBefore;

    EXPECT_GT(waited, 300u);
    EXPECT_LT(waited, 2000u);
    EXPECT_GE(ticks, 3);          // events ran during the wait
    EXPECT_LT(cpu, 0.25 * waited);  // and the thread slept between them
}
