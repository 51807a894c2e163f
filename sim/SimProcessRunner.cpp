#include "SimProcessRunner.h"

namespace fw::sim {

namespace {

class SimProcess : public fw::RunningProcess {
public:
    SimProcess(VirtualEventLoop& loop, Micros endsAt) : loop_(loop), endsAt_(endsAt) {}
    bool hasEnded() override { return loop_.now() >= endsAt_; }

private:
    VirtualEventLoop& loop_;
    Micros endsAt_;
};

} // namespace

fw::ProcessStart SimProcessRunner::start(const std::string& program, const std::vector<std::string>& arguments,
                                         const std::string& workingDirectory)
{
    fw::ProcessStart result;
    if (startError_ >= 0) {
        result.errorCode = startError_;
        return result;
    }
    const auto it = programs_.find(program);
    if (it == programs_.end()) {
        result.errorCode = 2;
        return result;
    }
    launches_.push_back({program, arguments, workingDirectory, loop_.now()});
    const Micros runs = it->second(launches_.back());
    result.process = std::make_unique<SimProcess>(loop_, loop_.now() + runs);
    return result;
}

} // namespace fw::sim
