#include "window/ScalerPhase.h"

#include <optional>
#include <string>

#include "ground/Texts.h"
#include "transfer/IspCommandLine.h"
#include "window/PortMessages.h"
#include "window/Telling.h"
#include "window/WindowOps.h"

namespace fw {

namespace {

constexpr int kAnimationCycle = 29;  // 0 to 28 characters shown, then one empty tick
constexpr int kFileNotFoundCode = 2;
constexpr int kUnknownErrorCode = 0;

// The processing window stays on top and animates while the tool runs; the
// main window's one-second clock shows the elapsed time in it meanwhile.
// Each run of the tool is told to listeners as a phase of its own, with
// its time limit, its elapsed seconds and how it ended.
class ProcessingWindow : public IspToolWatch {
public:
    ProcessingWindow(Tool& tool, int32_t timeLimitSeconds) : tool_(tool), timeLimitSeconds_(timeLimitSeconds) {}

    void waitingForFolder() override
    {
        tool_.state.statusLine = texts::WaitingForFolder;
        setCaption(tool_, Caption::lblFileCount, texts::WaitingForFolder);
    }
    void folderTaken() override { setCaption(tool_, Caption::lblFileCount, texts::FileTwoOfTwo); }
    void toolStarted() override
    {
        step_ = 0;
        tool_.view.setProcessingWindowTopmost(true);
        run_.emplace(tool_, Phase::IspToolRun, ++runs_);
        runStart_ = tool_.loop.tickCount();
        elapsedTold_ = 0;
        tell(tool_, IspToolStarted{runs_, timeLimitSeconds_});
    }
    void toolTick() override
    {
        tool_.view.setProcessingWindowVisible(true);
        animate();
        const auto elapsed = static_cast<int32_t>((tool_.loop.tickCount() - runStart_) / kMillisecondsPerSecond);
        if (elapsed > elapsedTold_) tell(tool_, IspToolElapsed{runs_, elapsedTold_ = elapsed});
    }
    void toolEnded() override
    {
        tool_.view.setProcessingWindowTopmost(false);
        tool_.view.setProcessingWindowVisible(false);
        tool_.view.setBusyPointer(false);
    }
    // The hidden Label5 holds the log's last line, emptied first.
    void logRead(const std::string& lastLine) override
    {
        setCaption(tool_, Caption::Label5, "");
        if (!lastLine.empty()) setCaption(tool_, Caption::Label5, lastLine);
    }
    void runEnded(const IspRunEnd& end) override
    {
        tell(tool_, IspToolEnded{runs_, end.timedOut, end.exitCode, end.logLine});
        const PhaseOutcome outcome = end.timedOut    ? PhaseOutcome::TimeUp
                                     : end.succeeded ? PhaseOutcome::Ok
                                                     : PhaseOutcome::NoSuccessLine;
        if (run_) run_->end(outcome);
        run_.reset();
    }

private:
    void animate()
    {
        setCaption(tool_, Caption::Form3Label1, "");
        if (step_ < kAnimationCycle) {
            setCaption(tool_, Caption::Form3Label1,
                       std::string(texts::Downloading).substr(0, static_cast<std::size_t>(step_)));
            ++step_;
        } else {
            step_ = 0;
        }
    }

    static constexpr uint32_t kMillisecondsPerSecond = 1000;

    Tool& tool_;
    int32_t timeLimitSeconds_;
    int step_ = 0;
    int runs_ = 0;
    std::optional<ToldPhase> run_;
    uint32_t runStart_ = 0;
    int32_t elapsedTold_ = 0;
};

const char* startFailureMessage(int errorCode)
{
    if (errorCode == kFileNotFoundCode) return texts::ToolMissing;
    if (errorCode == kUnknownErrorCode) return texts::ToolUnknownError;
    return texts::ToolNotOpened;
}

// The runner's own words where it gave them, else the start's error code;
// a missing tool is told where it belongs.
std::string toolNotStartedMessage(const Tool& tool, const ScalerOutcome& outcome)
{
    if (!outcome.detail.empty()) return outcome.detail;
    std::string message = startFailureMessage(outcome.startError);
    if (outcome.startError == kFileNotFoundCode) message.append(" ").append(ispToolExpectedIn(tool.programFolder));
    return message;
}

std::string failureMessage(const Tool& tool, const ScalerOutcome& outcome)
{
    switch (outcome.result) {
    case ScalerResult::FolderNotLockable:
        return texts::FolderNotLockable + outcome.path + ": " + outcome.detail + ".";
    case ScalerResult::FolderStaysBusy: return texts::FolderStaysBusy + outcome.path + ".";
    case ScalerResult::OldLogStays: return texts::OldLogStays + outcome.path + ": " + outcome.detail + ".";
    case ScalerResult::ImageMissing: return texts::ToolMissing;
    case ScalerResult::ToolNotStarted: return toolNotStartedMessage(tool, outcome);
    case ScalerResult::ToolFailed:
    case ScalerResult::Flashed: break;
    }
    return texts::LinkFailed;
}

// The upgrade's last box, whichever way the scaler phase went.
void reportOutcome(Tool& tool, const ScalerOutcome& outcome, Reason reason)
{
    if (outcome.result != ScalerResult::Flashed) {
        reportEnding(tool, reason, failureMessage(tool, outcome), MessageStyle::Critical);
        return;
    }
    tool.state.statusLine = texts::DownloadComplete;
    setCaption(tool, Caption::lblFileCount, "");
    endOperationAtNextBox(tool, reason);
    showStatusLine(tool, MessageStyle::Information);
}

// "op dlgf" may fail on the port and be reported; the tool may still
// succeed, so the phase goes on. Every run of the phase starts with the
// projector taken to be out of ISP mode, so the banner is always awaited.
void enterIspMode(Tool& tool)
{
    ToldPhase phase(tool, Phase::IspMode);
    const PortFailure failure = askForIspMode(tool.link);
    reportPortFailure(tool, failure);
    const bool bannerSeen = awaitScalerBanner(tool.link);
    settleBeforeTool(tool.link);
    phase.end(failure ? PhaseOutcome::PortFailed : bannerSeen ? PhaseOutcome::Ok : PhaseOutcome::NoAnswer);
}

Reason reasonOf(ScalerResult result)
{
    switch (result) {
    case ScalerResult::Flashed: return Reason::None;
    case ScalerResult::FolderNotLockable:
    case ScalerResult::FolderStaysBusy:
    case ScalerResult::OldLogStays: return Reason::IspFolderUnusable;
    case ScalerResult::ImageMissing: return Reason::ScalerImageMissing;
    case ScalerResult::ToolNotStarted: return Reason::IspToolNotStarted;
    case ScalerResult::ToolFailed: break;
    }
    return Reason::IspToolFailed;
}

IspJob ispJob(const Tool& tool)
{
    IspJob job;
    job.program = tool.programFile(kIspToolName);
    job.folder = tool.ispFolder;
    job.scalerImagePath = tool.state.package.ScalerImagePath;
    job.workingDirectory = tool.workingDirectory;
    job.portNumber = tool.port.commPort();
    job.timeLimitSeconds = tool.settings().ispTimeLimitSeconds();
    return job;
}

void restoreWindow(Tool& tool)
{
    Enable_object(tool);
    tool.view.setBusyPointer(false);
    tool.state.DownloadBusy = false;
}

} // namespace

Reason cmdFlashSW2_Click(Tool& tool)
{
    const RunningOperation running(tool);
    tool.state.DownloadBusy = true;
    tool.state.ElapsedSeconds = 0;
    tool.view.setBusyPointer(true);
    Disable_object(tool);
    setCaption(tool, Caption::lblFileCount, texts::FileTwoOfTwo);

    Reason reason = Reason::PortNotOpened;
    if (const std::optional<PortError> refusal = openPortIfClosed(tool.link)) {
        // The projector may hold a new uP image and still its old scaler
        // image: the phase must not end here without a word.
        reportEnding(tool, reason, reopenFailureMessage(tool, *refusal), MessageStyle::Critical);
    } else {
        enterIspMode(tool);
        const IspJob job = ispJob(tool);
        ProcessingWindow window(tool, job.timeLimitSeconds);
        const ScalerOutcome outcome = flashScaler(tool.link, tool.processes, job, window);
        reason = reasonOf(outcome.result);
        reportOutcome(tool, outcome, reason);
    }
    restoreWindow(tool);
    return reason;
}

} // namespace fw
