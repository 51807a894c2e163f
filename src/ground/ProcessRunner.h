#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fw {

class RunningProcess {
public:
    virtual ~RunningProcess() = default;
    // A poll that never blocks: true once the process has ended.
    virtual bool hasEnded() = 0;
    // Stops the program and every process it started; returns once it has
    // ended.
    virtual void stop() = 0;
    // The program's exit code once it has ended by itself, when the system
    // tells one (not for a crash or a stop).
    virtual std::optional<int> exitCode() { return std::nullopt; }
};

struct ProcessStart {
    // Set when the start succeeded.
    std::unique_ptr<RunningProcess> process;
    // When it failed: 2 file not found, 0 unknown, anything else another reason.
    int errorCode = 0;
    // When it failed for a reason the code cannot tell: the message to show.
    std::string failure;
};

// Variables for a started program's environment, by name.
using Environment = std::map<std::string, std::string>;

// Starts a program directly (never through a shell) in the given folder.
class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;
    virtual ProcessStart start(const std::string& program, const std::vector<std::string>& arguments,
                               const std::string& workingDirectory) = 0;
    // The same, with these variables added to the program's environment
    // (a runner that cannot set any starts the program without them).
    virtual ProcessStart startWithEnvironment(const std::string& program, const std::vector<std::string>& arguments,
                                              const std::string& workingDirectory, const Environment& variables)
    {
        (void)variables;
        return start(program, arguments, workingDirectory);
    }
    // Stops every program started here that still runs, with everything it
    // started: the program is ending, and must leave nothing holding the port.
    virtual void stopAll() = 0;
};

} // namespace fw
