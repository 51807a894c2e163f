#include "SimProcessRunner.h"

#include <filesystem>

namespace fw::sim {

namespace {

class SimProcess : public fw::RunningProcess {
public:
    SimProcess(VirtualEventLoop& loop, Micros startedAt, SimRun run)
        : loop_(loop), endsAt_(startedAt + run.duration), ended_(std::move(run.hasEnded))
    {
    }
    bool hasEnded() override { return ended_ ? ended_() : loop_.now() >= endsAt_; }

private:
    VirtualEventLoop& loop_;
    Micros endsAt_;
    std::function<bool()> ended_;
};

} // namespace

const SimProcessRunner::Program* SimProcessRunner::find(const std::string& program) const
{
    if (const auto it = programs_.find(program); it != programs_.end()) return &it->second;
    const std::string name = std::filesystem::path(program).filename().string();
    if (const auto it = programs_.find(name); it != programs_.end()) return &it->second;
    return nullptr;
}

fw::ProcessStart SimProcessRunner::start(const std::string& program, const std::vector<std::string>& arguments,
                                         const std::string& workingDirectory)
{
    fw::ProcessStart result;
    if (startError_ >= 0) {
        result.errorCode = startError_;
        return result;
    }
    const Program* found = find(program);
    if (!found) {
        result.errorCode = 2;
        return result;
    }
    launches_.push_back({program, arguments, workingDirectory, loop_.now()});
    result.process = std::make_unique<SimProcess>(loop_, loop_.now(), (*found)(launches_.back()));
    return result;
}

} // namespace fw::sim
