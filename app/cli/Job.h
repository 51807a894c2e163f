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

// One projector's work, on the calling thread's event loop: the test, the
// package check, or the whole upgrade with the checks the window requires
// before "Upgrade SW" is enabled.
JobOutcome runJob(const CliOptions& options, int port, Console& console, const std::string& prefix,
                  const TranscriptSink& transcript);

} // namespace fw::cli
