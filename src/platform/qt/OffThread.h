#pragma once

#include <QObject>
#include <QThread>
#include <functional>
#include <memory>

namespace fw::qt {

// Runs work that reads or writes files on a thread of its own, then `done`
// with its result on the receiver's thread, so a window never waits on a
// file (a package on a network share, a venue file on a slow stick). A
// receiver gone meanwhile is simply not called.
template <typename Result>
void offThread(QObject* receiver, std::function<Result()> work, std::function<void(const Result&)> done)
{
    auto result = std::make_shared<Result>();
    QThread* thread = QThread::create([work = std::move(work), result] { *result = work(); });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    QObject::connect(
        thread, &QThread::finished, receiver, [result, done = std::move(done)] { done(*result); },
        Qt::QueuedConnection);
    thread->start();
}

} // namespace fw::qt
