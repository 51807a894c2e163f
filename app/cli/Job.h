#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "CliOptions.h"
#include "Console.h"
#include "job/JobSchedule.h"
#include "job/ProjectorJob.h"
#include "job/Question.h"

namespace fw::cli {

// One projector of the run, with the number its port goes by.
struct RunRow {
    std::string label;  // the venue file's; empty for --port
    int port = 0;       // 0 for a package check alone
};

using TranscriptSink = std::function<void(const std::string& line)>;

// Where the run's account goes: the terminal (lines for a person, or JSON
// lines) and the service record's file; every byte on the lines, when asked.
struct RunOutput {
    Console& console;
    std::string recordPath;
    TranscriptSink transcript;
};

// "[Left stack COM11] ", "[COM11] " among several, nothing for one alone.
std::string prefixFor(const RunRow& row, std::size_t rows);

// What the command asks of each projector.
fw::JobKind jobKindOf(const CliOptions& options);

// Every row's job, each on a thread of its own with its own event loop,
// taking turns as the options say (--one-first, --at-once); its events
// printed as they come. Returns once every row has ended or was left
// alone; the outcomes in the rows' order, a row never started as failed
// with the reason why.
std::vector<fw::JobOutcome> runRows(const CliOptions& options, const std::vector<RunRow>& rows,
                                    const std::map<int, std::string>& pathOfPort, fw::UpgradeQuestion& question,
                                    bool answeredAhead, const RunOutput& output);

} // namespace fw::cli
