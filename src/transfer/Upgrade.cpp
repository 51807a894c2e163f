#include "transfer/Upgrade.h"

#include <optional>
#include <string>

#include "link/EventLoop.h"
#include "link/PortError.h"
#include "link/TestLink.h"
#include "package/CheckListFile.h"
#include "package/PackageFiles.h"
#include "shell/Tool.h"
#include "shell/WindowOps.h"
#include "transfer/DownloadProtocol.h"
#include "transfer/ScalerFlash.h"

namespace fw {

namespace {

constexpr const char* kConfirmation =
    "This upgrading process may take 15 minutes. During this time, DO NOT EXIT THIS PROGRAM and DO NOT PULL OUT "
    "COMMUNICATION CABLE. Otherwise, it will cause serious damage to the projector. Do you want to continue?";
constexpr const char* kDownloading = "Downloading, please wait ...";
constexpr const char* kPreparing = "Processing, please wait ...";
constexpr const char* kFileOneOfTwo = "Downloading file 1 of 2";
constexpr const char* kVerdictOk = "uP software downloaded ok. Now starting scaler software download. Please wait ...";
constexpr const char* kUpFailed = "ERROR: uP software download failed!";
constexpr int32_t kAfterVerdictPauseMs = 500;

// Thrown inside the upgrade to leave for the abort path with its message;
// none when the failure has been reported already.
struct Abort {
    const char* message;
};

void setExitEnabled(Tool& tool, bool enabled) { tool.view.setEnabled(Control::pExit, enabled); }

void setPointerBusy(Tool& tool, bool busy) { tool.view.setBusyPointer(busy); }

// Upgrade SW, Open File and the test button off, the RS232 menu on: the
// technician picks a port (or tests the link) before trying again.
void leaveOnlyPortChoice(Tool& tool)
{
    Enable_object(tool);
    disableWorkButtons(tool);
}

void endUpgrade(Tool& tool) { setExitEnabled(tool, true); }

// The projector is told the download is over (CR LF), the window is given
// back, and the technician learns why it stopped.
void abortUpgrade(Tool& tool, const char* message)
{
    setPointerBusy(tool, false);
    Enable_object(tool);
    tool.state.DownloadBusy = false;
    endLoaderDialogue(tool);
    Enable_object(tool);
    setPointerBusy(tool, false);
    if (message) report(tool, message, MessageStyle::Critical);
    endUpgrade(tool);
}

// Port failures while the port is reopened and the loader is being prepared.
void handlePortError(Tool& tool, int code)
{
    tool.state.statusLine.clear();
    tool.state.DownloadBusy = false;
    const std::string message =
        code == kInvalidPort ? "COM" + std::to_string(tool.port.commPort()) + kInvalidPortTail : kLinkFailed;
    report(tool, message, MessageStyle::Critical);
    setPointerBusy(tool, false);
    leaveOnlyPortChoice(tool);
    endUpgrade(tool);
}

bool packageIsReady(const Tool& tool)
{
    return tool.state.ListFileValid && lengthText(tool.state.lblSize).has_value();
}

bool confirmed(Tool& tool)
{
    return tool.view.showMessage(kConfirmation, MessageStyle::Question) == Answer::Yes;
}

void showBusyWindow(Tool& tool)
{
    setPointerBusy(tool, true);
    tool.state.statusLine = kDownloading;
    Disable_object(tool);
    tool.view.setProgressValue(0);
}

// A fresh session on the port; a port some other program already holds
// open is tried as it is, and the link test then tells.
void reopenPort(Tool& tool)
{
    tool.port.setPortOpen(false);
    try {
        tool.port.setPortOpen(true);
    } catch (const PortError& e) {
        if (e.code() != kPortAlreadyOpen) throw;
    }
}

void linkTestFailed(Tool& tool)
{
    tool.state.statusLine.clear();
    tool.state.DownloadBusy = false;
    setPointerBusy(tool, false);
    leaveOnlyPortChoice(tool);
    endUpgrade(tool);
}

void prepareDownload(Tool& tool)
{
    Disable_object(tool);  // the link test enabled "Open File"
    setCaption(tool, Caption::lblFileCount, kPreparing);
    tool.view.setProgressVisible(true);
    tool.state.DownloadBusy = true;
}

// Phases A and B, up to the switch to binary input. Port failures here
// leave the loader waiting, so they end as an abort.
void bringLoaderToData(Tool& tool, const std::string& length)
{
    try {
        switch (enterDownloadMode(tool)) {
        case DownloadMode::Entered: break;
        case DownloadMode::NoQuestion: throw Abort{kLinkFailed};
        case DownloadMode::PortFailureReported: throw Abort{nullptr};
        }
        if (!announceLength(tool, length)) throw Abort{kUpFailed};
        beginImageTransfer(tool);
    } catch (const PortError&) {
        throw Abort{kUpFailed};
    }
}

void transferImage(Tool& tool, uint64_t bytes)
{
    try {
        setCaption(tool, Caption::lblFileCount, kFileOneOfTwo);
        // The same file the package check measured, wherever the program now runs.
        sendImage(tool, resolveName(tool.workingDirectory, tool.state.package.UpImagePath), bytes);
        waitUntilLineCarriedImage(tool);
    } catch (const std::exception&) {
        throw Abort{kUpFailed};
    }
}

// The uP phase is over, whatever the verdict: the window stops looking busy.
// The close guard stays: after a good verdict the projector is half
// upgraded until the scaler phase has run.
void finishUpPhase(Tool& tool)
{
    setPointerBusy(tool, false);
    tool.view.setProgressVisible(false);
}

// A refused or missing verdict stops here: the scaler must not be flashed
// over a uP image the loader did not take.
void verdictNotGiven(Tool& tool)
{
    report(tool, kUpFailed, MessageStyle::Critical);
    finishUpPhase(tool);
    tool.state.DownloadBusy = false;
    Enable_object(tool);
    endUpgrade(tool);
}

void runUpgrade(Tool& tool, const std::string& length, uint64_t bytes)
{
    try {
        reopenPort(tool);
    } catch (const PortError& e) {
        handlePortError(tool, e.code());
        return;
    }
    if (!TestLink(tool)) {
        linkTestFailed(tool);
        return;
    }
    prepareDownload(tool);
    try {
        bringLoaderToData(tool, length);
        transferImage(tool, bytes);
        if (readVerdict(tool) != Verdict::Success) {
            verdictNotGiven(tool);
            return;
        }
        tool.state.statusLine = kVerdictOk;
        finishUpPhase(tool);
        tool.view.beep();
        delay(tool.loop, kAfterVerdictPauseMs);
        if (!awaitRestart(tool)) throw Abort{kLinkFailed};
    } catch (const Abort& abort) {
        abortUpgrade(tool, abort.message);
        return;
    }
    cmdFlashSW2_Click(tool);
    endUpgrade(tool);
}

} // namespace

void cmdUpgradeSW_Click(Tool& tool)
{
    const RunningOperation running(tool);
    if (!packageIsReady(tool)) {
        report(tool, kListFileNotValid, MessageStyle::Critical);
        return;
    }
    setExitEnabled(tool, false);
    if (!confirmed(tool)) {
        endUpgrade(tool);
        return;
    }
    showBusyWindow(tool);
    if (!tool.port.portOpen()) {
        abortUpgrade(tool, kLinkFailed);
        return;
    }
    const std::string length = *lengthText(tool.state.lblSize);
    runUpgrade(tool, length, std::stoull(length, nullptr, 16));
}

} // namespace fw
