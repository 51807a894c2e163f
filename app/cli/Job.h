#pragma once

#include <functional>
#include <string>

#include "CliOptions.h"
#include "Console.h"

namespace fw::cli {

struct JobOutcome {
    bool succeeded = false;
    std::string reason;  // one line when it failed
};

using TranscriptSink = std::function<void(const std::string& line)>;

// Where a job's account goes: the terminal (lines for a person, or JSON
// lines), where its questions are asked, and the service record's file.
struct JobOutput {
    Console& console;
    Console& prompts;
    std::string prefix;
    std::string recordPath;
    TranscriptSink transcript;
};

// One projector's work, on the calling thread's event loop: the test, the
// package check, or the whole upgrade with the checks the window requires
// before "Upgrade SW" is enabled.
JobOutcome runJob(const CliOptions& options, int port, const JobOutput& output);

} // namespace fw::cli
