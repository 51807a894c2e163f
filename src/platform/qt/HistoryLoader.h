#pragma once

#include <QObject>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "report/HistoryRow.h"
#include "report/Wording.h"

namespace fw::qt {

// An entry as the history window lists it: its row, and where its line
// stands in the file, to read it whole again when it is looked into.
struct ListedEntry {
    reports::HistoryRow row;
    std::string id;
    uint64_t offset = 0;
};

// Reads a record file on a thread of its own, from its end, and hands the
// entries to the receiver's thread in batches as they come: the newest
// first and at once, the rest behind them, so a long record never holds
// up the window. The file is only read.
class HistoryLoader {
public:
    struct Batch {
        bool found = true;  // the file exists
        std::vector<ListedEntry> entries;  // newest first
        std::vector<std::string> warnings;
        bool done = false;
    };
    using Take = std::function<void(const Batch&)>;

    HistoryLoader(QObject* receiver, std::string path, reports::UtcOffset localOffset, Take take);
    // Stops reading and waits for the thread; batches not yet taken are dropped.
    ~HistoryLoader();
    HistoryLoader(const HistoryLoader&) = delete;
    HistoryLoader& operator=(const HistoryLoader&) = delete;

    static constexpr std::size_t kFirstBatch = 100;   // a window's worth, at once
    static constexpr std::size_t kLaterBatch = 2000;

private:
    void read(QObject* receiver, const std::string& path, const reports::UtcOffset& localOffset, const Take& take);

    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace fw::qt
