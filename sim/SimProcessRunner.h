#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "VirtualEventLoop.h"
#include "transfer/ProcessRunner.h"

namespace fw::sim {

struct ProcessLaunch {
    std::string program;
    std::vector<std::string> arguments;
    std::string workingDirectory;
    Micros at;
};

// How a started stand-in ends: after a fixed time, or when it says so.
struct SimRun {
    SimRun(Micros runsFor) : duration(runsFor) {}  // NOLINT: a plain duration is the common case
    explicit SimRun(std::function<bool()> ended) : hasEnded(std::move(ended)) {}

    Micros duration = 0;
    std::function<bool()> hasEnded;  // when set, polled instead of the duration
};

// Starts stand-in programs on the virtual clock. A program is looked up by
// the path it is started with, or else by its file name; one that was not
// installed fails to start with "file not found".
class SimProcessRunner : public fw::ProcessRunner {
public:
    // Runs when the program starts. Whatever it does to files or to the
    // line it does through the loop.
    using Program = std::function<SimRun(const ProcessLaunch&)>;

    explicit SimProcessRunner(VirtualEventLoop& loop) : loop_(loop) {}

    void install(std::string name, Program program) { programs_[std::move(name)] = std::move(program); }
    void failStartsWith(int errorCode) { startError_ = errorCode; }

    const std::vector<ProcessLaunch>& launches() const { return launches_; }

    fw::ProcessStart start(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& workingDirectory) override;

private:
    const Program* find(const std::string& program) const;

    VirtualEventLoop& loop_;
    std::map<std::string, Program> programs_;
    std::vector<ProcessLaunch> launches_;
    int startError_ = -1;
};

} // namespace fw::sim
