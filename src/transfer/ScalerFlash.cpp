#include "transfer/ScalerFlash.h"

#include <string>

#include "ground/EventLoop.h"
#include "ground/FolderLock.h"
#include "ground/PortError.h"
#include "ground/Text.h"
#include "link/SendCommand.h"
#include "transfer/IspCommandLine.h"
#include "transfer/ToolLog.h"

namespace fw {

namespace {

constexpr const char* kIspModeCommand = "op dlgf";
constexpr const char* kScalerBanner = "GENNUM";          // any letter case
constexpr int kBannerPolls = 61;
constexpr int32_t kBannerPollIntervalMs = 500;
constexpr int32_t kBeforeToolPauseMs = 4000;
constexpr int32_t kToolPollIntervalMs = 100;
constexpr int kToolAttempts = 2;

// Another copy of the program may be running its own ISP tool in the same
// folder; it is bounded by its two runs' time limits.
constexpr int32_t kFolderPollIntervalMs = 500;
constexpr int kFolderWaitRunsBound = 2;
constexpr uint32_t kFolderWaitMarginMs = 60000;

uint32_t millisecondsOf(int32_t seconds) { return static_cast<uint32_t>(seconds) * 1000u; }

ScalerOutcome outcome(ScalerResult result, std::string path = {}, std::string detail = {})
{
    return {result, std::move(path), std::move(detail), 0};
}

// The tool needs the port to itself.
void releasePort(Link& link)
{
    try {
        if (link.port.portOpen()) link.port.setPortOpen(false);
    } catch (const PortError&) {
    }
}

// One copy of the program at a time removes, waits for and judges the log
// in a folder; a second one waits here. Nothing when the folder is taken.
std::optional<ScalerOutcome> takeIspFolder(Link& link, FolderLock& lock, const IspJob& job, IspToolWatch& watch)
{
    const uint32_t start = link.loop.tickCount();
    const uint32_t patience = kFolderWaitRunsBound * millisecondsOf(job.timeLimitSeconds) + kFolderWaitMarginMs;
    bool waiting = false;
    for (;;) {
        switch (lock.tryLock()) {
        case FolderLock::Result::Taken:
            if (waiting) watch.folderTaken();
            return std::nullopt;
        case FolderLock::Result::Failed: return outcome(ScalerResult::FolderNotLockable, job.folder, lock.failure());
        case FolderLock::Result::HeldElsewhere: break;
        }
        if (link.loop.tickCount() - start >= patience) return outcome(ScalerResult::FolderStaysBusy, job.folder);
        if (!waiting) {
            waiting = true;
            watch.waitingForFolder();
        }
        delay(link.loop, kFolderPollIntervalMs);
    }
}

enum class ToolRun { Ended, TimeUp };

ToolRun waitForTool(Link& link, RunningProcess& process, int32_t timeLimitSeconds, IspToolWatch& watch)
{
    watch.toolStarted();
    const uint32_t start = link.loop.tickCount();
    ToolRun run = ToolRun::Ended;
    do {
        link.loop.processPendingEvents();
        delay(link.loop, kToolPollIntervalMs);
        watch.toolTick();
        if (link.loop.tickCount() - start >= millisecondsOf(timeLimitSeconds) && !process.hasEnded()) {
            run = ToolRun::TimeUp;
            break;
        }
    } while (!process.hasEnded());
    watch.toolEnded();
    return run;
}

std::string readLog(const std::string& log, IspToolWatch& watch)
{
    const std::string line = lastLogLine(log);
    watch.logRead(line);
    return line;
}

ScalerOutcome runTool(Link& link, ProcessRunner& processes, const IspJob& job, const std::string& image,
                      IspToolWatch& watch)
{
    const auto arguments = ispArguments(job.portNumber, image);
    const std::string log = ispLogPath(job.folder);
    for (int attempt = 1; attempt <= kToolAttempts; ++attempt) {
        if (const auto stays = removeOldLog(log)) return outcome(ScalerResult::OldLogStays, log, *stays);
        ProcessStart started = processes.start(job.program, arguments, job.folder);
        if (!started.process) {
            ScalerOutcome notStarted = outcome(ScalerResult::ToolNotStarted);
            notStarted.startError = started.errorCode;
            notStarted.detail = started.failure;
            return notStarted;
        }
        const ToolRun run = waitForTool(link, *started.process, job.timeLimitSeconds, watch);
        IspRunEnd end;
        end.timedOut = run == ToolRun::TimeUp;
        if (!end.timedOut) end.exitCode = started.process->exitCode();
        // A tool out of time is stopped, and whatever it left running must
        // not write into the log judged next; either way the port is free again.
        started.process->stop();
        if (!end.timedOut) {
            end.logLine = readLog(log, watch);
            end.succeeded = isSuccessLine(*end.logLine);
        }
        watch.runEnded(end);
        if (end.succeeded) return outcome(ScalerResult::Flashed);
    }
    return outcome(ScalerResult::ToolFailed);
}

} // namespace

std::optional<PortError> openPortIfClosed(Link& link)
{
    try {
        if (!link.port.portOpen()) link.port.setPortOpen(true);
        return std::nullopt;
    } catch (const PortError& refusal) {
        return refusal;
    }
}

PortFailure askForIspMode(Link& link) { return SendCommand(link, kIspModeCommand); }

// The banner may not come; the tool is run all the same.
bool awaitScalerBanner(Link& link)
{
    for (int poll = 1; poll <= kBannerPolls; ++poll) {
        try {
            link.received += link.port.input();
        } catch (const PortError&) {
            // a closed port holds nothing to append
        }
        if (containsNoCase(link.received, kScalerBanner)) return true;
        delay(link.loop, kBannerPollIntervalMs);
    }
    return false;
}

void settleBeforeTool(Link& link) { delay(link.loop, kBeforeToolPauseMs); }

// The folder is this run's alone from the old log's removal to the
// judgement of the new one; the outcome is told once it is free again, so
// a box left open holds no other upgrade up.
ScalerOutcome flashScaler(Link& link, ProcessRunner& processes, const IspJob& job, IspToolWatch& watch)
{
    FolderLock lock(job.folder);
    const std::optional<ScalerOutcome> notTaken = takeIspFolder(link, lock, job, watch);
    releasePort(link);
    if (notTaken) return *notTaken;
    const std::string image = ispImageArgument(job.scalerImagePath, job.workingDirectory);
    if (image.empty()) return outcome(ScalerResult::ImageMissing);
    return runTool(link, processes, job, image, watch);
}

} // namespace fw
