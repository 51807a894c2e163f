#include "qt/HistoryLoader.h"

#include <QMetaObject>
#include <QPointer>
#include <memory>

#include "record/HistoryReader.h"

namespace fw::qt {

HistoryLoader::HistoryLoader(QObject* receiver, std::string path, reports::UtcOffset localOffset, Take take)
{
    thread_ = std::thread([this, receiver, path = std::move(path), localOffset = std::move(localOffset),
                           take = std::move(take)] { read(receiver, path, localOffset, take); });
}

HistoryLoader::~HistoryLoader()
{
    stop_ = true;
    thread_.join();
}

void HistoryLoader::read(QObject* receiver, const std::string& path, const reports::UtcOffset& localOffset,
                         const Take& take)
{
    HistoryReader reader(path);
    std::size_t count = kFirstBatch;
    while (!stop_) {
        auto batch = std::make_shared<Batch>();
        batch->found = reader.found();
        HistoryReader::Batch read = reader.next(count);
        for (std::size_t i = 0; i < read.entries.size(); ++i)
            batch->entries.push_back({reports::historyRowOf(read.entries[i], localOffset), read.entries[i].id,
                                      read.offsets[i]});
        batch->warnings = std::move(read.warnings);
        batch->done = read.done || !reader.found();
        const bool done = batch->done;
        // Queued to the receiver's thread; dropped there if the receiver is gone.
        QMetaObject::invokeMethod(receiver, [take, batch] { take(*batch); }, Qt::QueuedConnection);
        if (done) return;
        count = kLaterBatch;
    }
}

} // namespace fw::qt
