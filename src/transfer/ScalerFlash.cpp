#include "transfer/ScalerFlash.h"

#include <string>

#include "link/EventLoop.h"
#include "link/PortError.h"
#include "link/SendCommand.h"
#include "shell/Text.h"
#include "shell/Tool.h"
#include "shell/WindowOps.h"
#include "transfer/FolderLock.h"
#include "transfer/IspCommandLine.h"
#include "transfer/IspSettings.h"
#include "transfer/ToolLog.h"

namespace fw {

namespace {

constexpr const char* kIspModeCommand = "op dlgf";
constexpr const char* kScalerBanner = "GENNUM";          // any letter case
constexpr int kBannerPolls = 61;
constexpr int32_t kBannerPollIntervalMs = 500;
constexpr int32_t kBeforeToolPauseMs = 4000;             // the scaler settles in ISP mode
constexpr int32_t kToolPollIntervalMs = 100;
constexpr int kToolAttempts = 2;

constexpr const char* kFileCountCaption = "Downloading file 2 of 2";
constexpr const char* kAnimatedText = "Downloading, please wait ...";
constexpr int kAnimationCycle = 29;  // 0 to 28 characters shown, then one empty tick

constexpr const char* kToolMissing = "ERROR: Can't find file.";
constexpr const char* kToolUnknownError = "Error!";
constexpr const char* kToolNotOpened = "ERROR: Can't open file.";
constexpr int kFileNotFoundCode = 2;
constexpr int kUnknownErrorCode = 0;

// Another copy of the program may be running its own ISP tool in the same
// folder; it is bounded by its two runs' time limits.
constexpr int32_t kFolderPollIntervalMs = 500;
constexpr int kFolderWaitRunsBound = 2;
constexpr uint32_t kFolderWaitMarginMs = 60000;
constexpr const char* kWaitingForFolder = "Waiting for another upgrade's ISP tool to finish ...";
constexpr const char* kFolderStaysBusy = "ERROR: Another upgrade's ISP tool still runs in ";
constexpr const char* kFolderNotLockable = "ERROR: Can't lock the ISP tool folder ";
constexpr const char* kOldLogStays = "ERROR: Can't delete the old ISP tool log ";

constexpr const char* kDownloadComplete =
    "Download complete. Don't forget to turn the projector AC power off and on again to complete the software "
    "upgrading process.";

bool openPortIfClosed(Tool& tool)
{
    try {
        if (!tool.port.portOpen()) tool.port.setPortOpen(true);
        return true;
    } catch (const PortError&) {
        return false;
    }
}

// The scaler announces its ISP mode with a banner; it may not come, and the
// tool is run all the same.
void awaitScalerBanner(Tool& tool)
{
    for (int poll = 1; poll <= kBannerPolls; ++poll) {
        try {
            tool.state.receiveBuffer += tool.port.input();
        } catch (const PortError&) {
            // a closed port holds nothing to append
        }
        if (containsNoCase(tool.state.receiveBuffer, kScalerBanner)) return;
        delay(tool.loop, kBannerPollIntervalMs);
    }
}

void enterIspMode(Tool& tool)
{
    SendCommand(tool, kIspModeCommand);  // it reports its own port failure; the tool may still succeed
    if (!tool.state.ispModeYes) {
        tool.state.ispModeYes = true;
        awaitScalerBanner(tool);
    }
    delay(tool.loop, kBeforeToolPauseMs);
}

// The tool needs the port to itself.
void releasePort(Tool& tool)
{
    try {
        if (tool.port.portOpen()) tool.port.setPortOpen(false);
    } catch (const PortError&) {
    }
}

const char* startFailureMessage(int errorCode)
{
    if (errorCode == kFileNotFoundCode) return kToolMissing;
    if (errorCode == kUnknownErrorCode) return kToolUnknownError;
    return kToolNotOpened;
}

void animate(Tool& tool, int& step)
{
    setCaption(tool, Caption::Form3Label1, "");
    if (step < kAnimationCycle) {
        setCaption(tool, Caption::Form3Label1, std::string(kAnimatedText).substr(0, static_cast<std::size_t>(step)));
        ++step;
    } else {
        step = 0;
    }
}

uint32_t millisecondsOf(int32_t seconds) { return static_cast<uint32_t>(seconds) * 1000u; }

// One copy of the program at a time removes, waits for and judges the log in
// a folder; a second one waits here, and says so.
bool takeIspFolder(Tool& tool, FolderLock& lock, int32_t timeLimitSeconds)
{
    const uint32_t start = tool.loop.tickCount();
    const uint32_t patience = kFolderWaitRunsBound * millisecondsOf(timeLimitSeconds) + kFolderWaitMarginMs;
    bool waiting = false;
    for (;;) {
        switch (lock.tryLock()) {
        case FolderLock::Result::Taken:
            if (waiting) setCaption(tool, Caption::lblFileCount, kFileCountCaption);
            return true;
        case FolderLock::Result::Failed:
            report(tool, kFolderNotLockable + tool.ispFolder + ": " + lock.failure() + ".", MessageStyle::Critical);
            return false;
        case FolderLock::Result::HeldElsewhere: break;
        }
        if (tool.loop.tickCount() - start >= patience) {
            report(tool, kFolderStaysBusy + tool.ispFolder + ".", MessageStyle::Critical);
            return false;
        }
        if (!waiting) {
            waiting = true;
            tool.state.statusLine = kWaitingForFolder;
            setCaption(tool, Caption::lblFileCount, kWaitingForFolder);
        }
        delay(tool.loop, kFolderPollIntervalMs);
    }
}

enum class ToolRun { Ended, TimeUp };

// The processing window stays on top and animates until the tool ends or
// its time is up; the main window's one-second clock shows the elapsed time
// in it meanwhile.
ToolRun waitForTool(Tool& tool, RunningProcess& process, int32_t timeLimitSeconds)
{
    tool.view.setProcessingWindowTopmost(true);
    const uint32_t start = tool.loop.tickCount();
    ToolRun run = ToolRun::Ended;
    int step = 0;
    do {
        tool.loop.processPendingEvents();
        delay(tool.loop, kToolPollIntervalMs);
        tool.view.setProcessingWindowVisible(true);
        animate(tool, step);
        if (tool.loop.tickCount() - start >= millisecondsOf(timeLimitSeconds) && !process.hasEnded()) {
            run = ToolRun::TimeUp;
            break;
        }
    } while (!process.hasEnded());
    tool.view.setProcessingWindowTopmost(false);
    tool.view.setProcessingWindowVisible(false);
    tool.view.setBusyPointer(false);
    return run;
}

void reportSuccess(Tool& tool)
{
    tool.state.statusLine = kDownloadComplete;
    setCaption(tool, Caption::lblFileCount, "");
    showStatusLine(tool, MessageStyle::Information);
}

// What the tool's runs came to; the message is shown once the folder is
// free again, so a box left open holds no other upgrade up.
struct ToolOutcome {
    bool flashed = false;
    std::string failure;
};

ToolOutcome failedWith(std::string message) { return {false, std::move(message)}; }

// Runs the tool, once more when its log does not end with the success line
// or its time ran out. Every run judges only a log written after it started.
ToolOutcome runTool(Tool& tool, const std::string& image, int32_t timeLimitSeconds)
{
    const std::string program = tool.programFile(kIspToolName);
    const auto arguments = ispArguments(tool.port.commPort(), image);
    const std::string log = ispLogPath(tool.ispFolder);
    for (int attempt = 1; attempt <= kToolAttempts; ++attempt) {
        if (const auto stays = removeOldLog(log)) return failedWith(kOldLogStays + log + ": " + *stays + ".");
        ProcessStart started = tool.processes.start(program, arguments, tool.ispFolder);
        if (!started.process) {
            if (!started.failure.empty()) return failedWith(started.failure);
            const bool notFound = started.errorCode == kFileNotFoundCode;
            return failedWith(startFailureMessage(started.errorCode) +
                              (notFound ? " " + ispToolExpectedIn(tool.programFolder) : ""));
        }
        const ToolRun run = waitForTool(tool, *started.process, timeLimitSeconds);
        // A tool out of time is stopped, and whatever it left running must
        // not write into the log judged next; either way the port is free again.
        started.process->stop();
        if (run == ToolRun::TimeUp) continue;
        ReadToolLog(tool);
        if (tool.state.Label5 == kIspSuccessLine) return {true, {}};
    }
    return failedWith(kLinkFailed);
}

// The tool's folder is this run's alone from the old log's removal to the
// judgement of the new one. The port is the tool's from here on.
void flashScaler(Tool& tool)
{
    const int32_t timeLimitSeconds = ispTimeLimitSeconds(tool.settingsPath());
    ToolOutcome outcome;
    {
        FolderLock lock(tool.ispFolder);
        const bool folderTaken = takeIspFolder(tool, lock, timeLimitSeconds);
        releasePort(tool);
        if (!folderTaken) return;
        const std::string image = ispImageArgument(tool.state.package.ScalerImagePath, tool.workingDirectory);
        outcome = image.empty() ? failedWith(kToolMissing) : runTool(tool, image, timeLimitSeconds);
    }
    if (outcome.flashed) reportSuccess(tool);
    else report(tool, outcome.failure, MessageStyle::Critical);
}

void restoreWindow(Tool& tool)
{
    tool.state.ispModeYes = false;
    Enable_object(tool);
    tool.view.setBusyPointer(false);
    tool.state.DownloadBusy = false;
}

} // namespace

void cmdFlashSW2_Click(Tool& tool)
{
    const RunningOperation running(tool);
    tool.state.DownloadBusy = true;
    tool.state.ElapsedSeconds = 0;
    tool.view.setBusyPointer(true);
    Disable_object(tool);
    setCaption(tool, Caption::lblFileCount, kFileCountCaption);

    if (openPortIfClosed(tool)) {
        enterIspMode(tool);
        flashScaler(tool);
    }
    restoreWindow(tool);
}

} // namespace fw
