#include "qt/QtEventLoop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <climits>

namespace fw::qt {

uint32_t QtEventLoop::tickCount() const
{
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}

void QtEventLoop::processPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventLoop::waitForEvents(uint32_t maxMs)
{
    if (maxMs == 0) {
        processPendingEvents();
        return;
    }
    // The deadline is an event of its own, so the blocking wait below ends
    // at the latest when it fires. A timer per call keeps nested waits (an
    // event handler that waits in turn) from cutting each other short.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    deadline.start(static_cast<int>(std::min<uint32_t>(maxMs, INT_MAX)));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace fw::qt
