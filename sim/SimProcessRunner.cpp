#include "SimProcessRunner.h"

#include <filesystem>

namespace fw::sim {

// One started program, shared by its handle and the runner, so that the
// runner can stop what its caller let go of.
struct SimProcessRunner::Started {
    Started(VirtualEventLoop& loop, Micros startedAt, SimRun run, int& stops)
        : loop(loop), endsAt(startedAt + run.duration), ended(std::move(run.hasEnded)), onStop(std::move(run.stop)),
          stops(stops)
    {
    }
    bool endedByItself() const { return ended ? ended() : loop.now() >= endsAt; }
    bool hasEnded() const { return stopped || endedByItself(); }
    // Stops the program if it still runs, and whatever it left behind.
    void stop()
    {
        if (stopped) return;
        if (!endedByItself()) ++stops;
        stopped = true;
        if (onStop) onStop();
    }

    VirtualEventLoop& loop;
    Micros endsAt;
    std::function<bool()> ended;
    std::function<void()> onStop;
    int& stops;
    bool stopped = false;
};

namespace {

class SimProcess : public fw::RunningProcess {
public:
    explicit SimProcess(std::shared_ptr<SimProcessRunner::Started> started) : started_(std::move(started)) {}
    bool hasEnded() override { return started_->hasEnded(); }
    void stop() override { started_->stop(); }
    // A stand-in that ends by itself has done its work.
    std::optional<int> exitCode() override
    {
        if (started_->stopped || !started_->endedByItself()) return std::nullopt;
        return 0;
    }

private:
    std::shared_ptr<SimProcessRunner::Started> started_;
};

} // namespace

int SimProcessRunner::running() const
{
    int count = 0;
    for (const auto& s : started_) count += s->hasEnded() ? 0 : 1;
    return count;
}

void SimProcessRunner::stopAll()
{
    for (const auto& s : started_) s->stop();
}

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
    started_.push_back(std::make_shared<Started>(loop_, loop_.now(), (*found)(launches_.back()), stops_));
    result.process = std::make_unique<SimProcess>(started_.back());
    return result;
}

} // namespace fw::sim
