#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <ctime>
#include <sys/resource.h>

#include "qt/QtEventLoop.h"

using fw::qt::QtEventLoop;

namespace {

double cpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

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
