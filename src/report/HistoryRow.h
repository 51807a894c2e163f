#pragma once

#include <optional>
#include <string>

#include "record/RecordEntry.h"
#include "report/Report.h"
#include "report/Wording.h"

namespace fw::reports {

// An entry as one row of the history window: what a technician looks for.
struct HistoryRow {
    std::string when;       // local time, "2024-05-01 16:00:00"; as stored when unreadable
    std::string operation;  // "upgrade", "test"
    std::string port;       // "COM3 /dev/ttyUSB0"
    std::string label, venue, model, package;
    std::string outcome;    // "succeeded", "failed (no answer)", "not started", "unfinished"
    Verdict verdict = Verdict::Unfinished;
    std::string duration;   // "3:12"; empty when it never ended
};

HistoryRow historyRowOf(const RecordEntry& entry, const UtcOffset& localOffset);

// What the technician narrows the list to; an empty part lets every row pass.
struct HistoryFilter {
    std::optional<Verdict> verdict;
    std::string text;     // found in the port, label, venue, model or package; letter case aside
    std::string fromDay;  // local dates, "2024-05-01", both included
    std::string toDay;
};

bool matches(const HistoryRow& row, const HistoryFilter& filter);

} // namespace fw::reports
