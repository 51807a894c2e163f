#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "record/BackwardLines.h"
#include "record/RecordEntry.h"

namespace fw {

// A record file read from its end, some entries at a time: the newest come
// at once, however long the file, and a reader on another thread can hand
// them on while it reads the rest. Each operation once, as its last line
// tells it (its end, or its start when it never ended); a line that is not
// an entry is read past with a warning. The file is only read.
class HistoryReader {
public:
    explicit HistoryReader(const std::string& path);

    bool found() const { return lines_.opened(); }

    struct Batch {
        std::vector<RecordEntry> entries;  // newest first
        std::vector<std::string> lines;    // each entry's line as stored
        std::vector<uint64_t> offsets;     // where each line begins in the file
        std::vector<std::string> warnings;
        bool done = false;  // the file's first line has been read
    };
    // Up to `count` more entries.
    Batch next(std::size_t count);

private:
    std::string path_;
    BackwardLines lines_;
    std::set<std::string> seen_;  // operations already taken from a later line
};

// The entry whose line begins at that offset of the record file, read
// again: a reader that shows many entries need not keep them all. Nothing
// when the file or the line is no longer there or holds no entry.
std::optional<RecordEntry> entryAt(const std::string& path, uint64_t offset);

} // namespace fw
