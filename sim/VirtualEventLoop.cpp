#include "VirtualEventLoop.h"


namespace fw::sim {

VirtualEventLoop::VirtualEventLoop(uint32_t tickAtStart, Micros timeLimit)
    : tickAtStart_(tickAtStart), timeLimit_(timeLimit)
{
}

uint32_t VirtualEventLoop::tickCount() const { return tickAtStart_ + static_cast<uint32_t>(now_ / 1000); }

void VirtualEventLoop::schedule(Micros at, std::function<void()> action)
{
    queue_.push(Item{at < now_ ? now_ : at, seq_++, std::move(action)});
}

void VirtualEventLoop::processPendingEvents()
{
    ++yields_;
    while (!queue_.empty() && queue_.top().at <= now_) {
        auto action = queue_.top().action;
        queue_.pop();
        action();
    }
}

void VirtualEventLoop::waitForEvents(uint32_t maxMs)
{
    const Micros deadline = now_ + ms(maxMs);
    if (!queue_.empty() && queue_.top().at <= deadline) {
        if (queue_.top().at > now_) now_ = queue_.top().at;
        checkLimit();
        processPendingEvents();
        return;
    }
    now_ = deadline;
    checkLimit();
}

void VirtualEventLoop::advanceTo(Micros t)
{
    if (t > now_) now_ = t;
    checkLimit();
}

void VirtualEventLoop::runUntil(Micros t)
{
    processPendingEvents();
    while (now_ < t) {
        const Micros left = t - now_;
        waitForEvents(static_cast<uint32_t>((left + 999) / 1000));
    }
}

void VirtualEventLoop::checkLimit() const
{
    // A run that never ends is a hang of the program under test.
    if (now_ > timeLimit_) throw HangDetected{now_};
}

} // namespace fw::sim
