#include "window/ScalerPhase.h"

#include <string>

#include "ground/Texts.h"
#include "transfer/IspCommandLine.h"
#include "window/PortMessages.h"
#include "window/WindowOps.h"

namespace fw {

namespace {

constexpr int kAnimationCycle = 29;  // 0 to 28 characters shown, then one empty tick
constexpr int kFileNotFoundCode = 2;
constexpr int kUnknownErrorCode = 0;

// The processing window stays on top and animates while the tool runs; the
// main window's one-second clock shows the elapsed time in it meanwhile.
class ProcessingWindow : public IspToolWatch {
public:
    explicit ProcessingWindow(Tool& tool) : tool_(tool) {}

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
    }
    void toolTick() override
    {
        tool_.view.setProcessingWindowVisible(true);
        animate();
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

    Tool& tool_;
    int step_ = 0;
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

void reportOutcome(Tool& tool, const ScalerOutcome& outcome)
{
    if (outcome.result != ScalerResult::Flashed) {
        report(tool, failureMessage(tool, outcome), MessageStyle::Critical);
        return;
    }
    tool.state.statusLine = texts::DownloadComplete;
    setCaption(tool, Caption::lblFileCount, "");
    showStatusLine(tool, MessageStyle::Information);
}

// "op dlgf" may fail on the port and be reported; the tool may still
// succeed, so the phase goes on. Every run of the phase starts with the
// projector taken to be out of ISP mode, so the banner is always awaited.
void enterIspMode(Tool& tool)
{
    reportPortFailure(tool, askForIspMode(tool.link));
    awaitScalerBanner(tool.link);
    settleBeforeTool(tool.link);
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

ScalerResult cmdFlashSW2_Click(Tool& tool)
{
    const RunningOperation running(tool);
    tool.state.DownloadBusy = true;
    tool.state.ElapsedSeconds = 0;
    tool.view.setBusyPointer(true);
    Disable_object(tool);
    setCaption(tool, Caption::lblFileCount, texts::FileTwoOfTwo);

    // A port that cannot be opened ends the phase without a word, as it always has.
    ScalerResult result = ScalerResult::ToolFailed;
    if (openPortIfClosed(tool.link)) {
        enterIspMode(tool);
        ProcessingWindow window(tool);
        const ScalerOutcome outcome = flashScaler(tool.link, tool.processes, ispJob(tool), window);
        reportOutcome(tool, outcome);
        result = outcome.result;
    }
    restoreWindow(tool);
    return result;
}

} // namespace fw
