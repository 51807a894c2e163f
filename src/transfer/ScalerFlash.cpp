#include "transfer/ScalerFlash.h"

#include <string>

#include "link/EventLoop.h"
#include "link/PortError.h"
#include "link/SendCommand.h"
#include "shell/FileHelpers.h"
#include "shell/Text.h"
#include "shell/Tool.h"
#include "shell/WindowOps.h"
#include "transfer/IspCommandLine.h"
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

void removeOldLog(const std::string& logPath)
{
    if (FileExists(logPath)) DelFile(logPath);
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

// The processing window stays on top and animates until the tool ends; the
// main window's one-second clock shows the elapsed time in it meanwhile.
void waitForTool(Tool& tool, RunningProcess& process)
{
    tool.view.setProcessingWindowTopmost(true);
    int step = 0;
    do {
        tool.loop.processPendingEvents();
        delay(tool.loop, kToolPollIntervalMs);
        tool.view.setProcessingWindowVisible(true);
        animate(tool, step);
    } while (!process.hasEnded());
    tool.view.setProcessingWindowTopmost(false);
    tool.view.setProcessingWindowVisible(false);
    tool.view.setBusyPointer(false);
}

void reportSuccess(Tool& tool)
{
    tool.state.statusLine = kDownloadComplete;
    setCaption(tool, Caption::lblFileCount, "");
    showStatusLine(tool, MessageStyle::Information);
}

// Runs the tool, once more when its log does not end with the success line.
void flashWithTool(Tool& tool)
{
    const std::string image = ispImageArgument(tool.state.package.ScalerImagePath, tool.workingDirectory);
    if (image.empty()) {
        report(tool, kToolMissing, MessageStyle::Critical);
        return;
    }
    const std::string program = tool.programFile(kIspToolName);
    const auto arguments = ispArguments(tool.port.commPort(), image);
    for (int attempt = 1; attempt <= kToolAttempts; ++attempt) {
        ProcessStart started = tool.processes.start(program, arguments, tool.programFolder);
        if (!started.process) {
            const bool notFound = started.errorCode == kFileNotFoundCode;
            report(tool,
                   startFailureMessage(started.errorCode) + (notFound ? " " + ispToolExpectedIn(tool.programFolder) : ""),
                   MessageStyle::Critical);
            return;
        }
        waitForTool(tool, *started.process);
        ReadToolLog(tool);
        if (tool.state.Label5 == kIspSuccessLine) {
            reportSuccess(tool);
            return;
        }
    }
    report(tool, kLinkFailed, MessageStyle::Critical);
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
    tool.state.DownloadBusy = true;
    tool.state.ElapsedSeconds = 0;
    tool.view.setBusyPointer(true);
    Disable_object(tool);
    setCaption(tool, Caption::lblFileCount, kFileCountCaption);

    if (openPortIfClosed(tool)) {
        enterIspMode(tool);
        removeOldLog(tool.programFile(kIspLogName));
        releasePort(tool);
        flashWithTool(tool);
    }
    restoreWindow(tool);
}

} // namespace fw
