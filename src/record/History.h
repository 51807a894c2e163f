#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ground/Json.h"

namespace fw {

// One operation as the record last told of it: its end line, or its start
// line when it never ended (a crash, a pulled cable, still running).
struct HistoryEntry {
    std::string line;  // as stored
    Json entry;
};

struct History {
    bool found = false;                 // the record file exists
    std::vector<HistoryEntry> entries;  // newest first
    std::vector<std::string> warnings;  // one per damaged line read past
};

// The newest `last` operations of a record file, read from its end. A line
// that is not a record entry (cut short, not JSON, far too long) is read
// past with a warning; the file is only read.
History readHistory(const std::string& path, std::size_t last);

// One line for a technician: when, port (with a venue's projector's label
// and venue), model, package, outcome, duration.
std::string historyLine(const Json& entry);

} // namespace fw
