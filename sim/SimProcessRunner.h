#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "VirtualEventLoop.h"
#include "ground/ProcessRunner.h"

namespace fw::sim {

struct ProcessLaunch {
    std::string program;
    std::vector<std::string> arguments;
    std::string workingDirectory;
    Micros at;
};

// How a started stand-in ends: after a fixed time, or when it says so; and
// what stopping it does.
struct SimRun {
    SimRun(Micros runsFor) : duration(runsFor) {}  // NOLINT: a plain duration is the common case
    SimRun(std::function<bool()> ended, std::function<void()> stopped)
        : hasEnded(std::move(ended)), stop(std::move(stopped))
    {
    }

    Micros duration = 0;
    std::function<bool()> hasEnded;  // when set, polled instead of the duration
    std::function<void()> stop;      // when set, runs as the program is stopped
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
    // Programs started here that have neither ended nor been stopped.
    int running() const;
    int stops() const { return stops_; }

    fw::ProcessStart start(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& workingDirectory) override;
    void stopAll() override;

    struct Started;

private:
    const Program* find(const std::string& program) const;

    VirtualEventLoop& loop_;
    std::map<std::string, Program> programs_;
    std::vector<ProcessLaunch> launches_;
    std::vector<std::shared_ptr<Started>> started_;
    int startError_ = -1;
    int stops_ = 0;
};

} // namespace fw::sim
