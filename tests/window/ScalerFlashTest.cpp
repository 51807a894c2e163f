#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "UpgradeRig.h"
#include "ground/FileHelpers.h"
#include "ground/FolderLock.h"
#include "ground/LineTiming.h"
#include "ground/Texts.h"
#include "transfer/IspCommandLine.h"
#include "window/MainWindow.h"
#include "window/ScalerPhase.h"

using namespace fw;
using namespace fw::sim;
using namespace fw::sim::isp;
using namespace fw::testing;

namespace {

Micros ispCommandSentAt(const SimSerialPort& port)
{
    for (const auto& w : port.wire())
        if (w.direction == Direction::ToProjector && w.bytes == "\r") return w.at;
    ADD_FAILURE() << "op dlgf never ended";
    return 0;
}

// From the command's CR and its 2000 ms echo wait to the tool's start.
Micros waitBeforeTool(const UpgradeRig& r)
{
    return r.rig.processes.launches().at(0).at - ispCommandSentAt(r.rig.port) - lineTimeUs(1) - ms(2000);
}

// Every ending of the scaler phase gives the window back this way, with the
// port closed for the ISP tool or never opened. Run on its own (the hidden
// "Flash SW" button) the phase vouches for the scaler image only.
void expectClosingSteps(const UpgradeRig& r)
{
    EXPECT_FALSE(r.rig.port.portOpen());
    EXPECT_TRUE(workControlsEnabled(r.view()));
    EXPECT_FALSE(r.view().busyPointer());
    EXPECT_FALSE(r.rig.tool.state.DownloadBusy);
    EXPECT_FALSE(r.view().processingWindowVisible());
    EXPECT_FALSE(r.view().processingWindowTopmost());
    if (r.showed(kDownloadComplete)) {
        EXPECT_TRUE(r.scalerImageFlashed()) << "success shown without the scaler image";
    }
}

} // namespace

// Run on its own the phase asks for ISP mode alone and starts the tool once
// on the released port: 4000 ms after the scaler's banner, whether it came at
// the first poll or was already waiting in any letter case; after the 61
// polls of 500 ms (and their overrun) when it never comes.
TEST(ScalerFlash, ToolStartsOnceAfterTheBannerOrAfterAbout34SecondsWithout)
{
    struct Case {
        const char* name;
        bool banner;
        std::string received;
        Micros least, most;
    } cases[] = {
        {"banner at the first poll", true, "", ms(4000), ms(4004)},
        {"banner already in the buffer", false, "earlier: gennum gf9450", ms(4000), ms(4004)},
        {"no banner", false, "", ms(61 * 500 + 4000), ms(61 * 502 + 4002)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectorOptions options;
        if (!c.banner) options.isp.banner.clear();
        UpgradeRig r(options);
        r.tool().link.received = c.received;
        r.tool().state.ElapsedSeconds = 500;
        cmdFlashSW2_Click(r.tool());

        EXPECT_EQ(r.messages(), std::vector<std::string>{kDownloadComplete});
        EXPECT_EQ(r.rig.port.bytesSent(), "op dlgf\r");
        EXPECT_TRUE(r.scalerImageFlashed());
        EXPECT_EQ(r.rig.processes.launches().size(), 1u);
        EXPECT_GE(waitBeforeTool(r), c.least);
        EXPECT_LE(waitBeforeTool(r), c.most);
        EXPECT_LT(r.tool().state.ElapsedSeconds, 500);  // reset when the phase began
        expectClosingSteps(r);
    }
}

// While the tool runs, at every tick of the animation: the processing
// window on top, the main window busy (flag, pointer, every work control
// off), and a close asks first.
TEST(ScalerFlash, ProcessingWindowStaysOnTopAndAnimatesWhileTheToolRuns)
{
    IspSwitches slow;
    slow.runAtLeastMs = 8000;
    UpgradeRig r({}, slow);
    std::vector<std::string> shown;
    int ticks = 0, busyTicks = 0;
    r.rig.view.afterCaptionSet = [&](Caption caption, const std::string& text) {
        if (caption != Caption::Form3Label1) return;
        // Each tick empties the line, then shows its part of the text.
        if (!text.empty()) {
            shown.back() = text;
            return;
        }
        shown.push_back(text);
        ++ticks;
        const auto& v = r.view();
        bool busy = v.processingWindowVisible() && v.processingWindowTopmost() && v.busyPointer() &&
                    r.tool().state.DownloadBusy;
        for (Control c : {Control::cmdUpgradeSW, Control::cmdOpenFile1, Control::cmdTest, Control::RS_232})
            busy = busy && !v.enabled(c);
        r.rig.view.answerNext(Answer::No);
        busyTicks += busy && Form_QueryUnload(r.tool());
    };
    cmdFlashSW2_Click(r.tool());

    EXPECT_GT(ticks, 80);  // one per 100 ms, 8 s and more
    EXPECT_EQ(busyTicks, ticks);
    std::vector<std::string> captions;
    for (const std::string& text : shown)
        if (captions.empty() || captions.back() != text) captions.push_back(text);
    // Each tick shows one character more, up to all 28, then one empty tick.
    const std::string text = "Downloading, please wait ...";
    ASSERT_GT(captions.size(), 31u);
    for (std::size_t k = 0; k < captions.size(); ++k) EXPECT_EQ(captions[k], text.substr(0, k % 29)) << k;
    // One close question per tick, each answered No, then the result.
    EXPECT_EQ(r.messages().size(), std::size_t(ticks) + 1);
    EXPECT_EQ(r.messages().back(), kDownloadComplete);
    expectClosingSteps(r);
}

// After the uP image the projector still holds its old scaler image: a port
// that cannot be opened for the scaler is said, named by its own number, and
// no tool runs.
TEST(ScalerFlash, PortThatCannotBeOpenedIsSaidAndNoToolRuns)
{
    const struct {
        PortAvailability availability;
        std::string message;
    } cases[] = {
        {PortAvailability::Missing, std::string("COM1") + texts::InvalidPortTail},
        {PortAvailability::HeldByOther, std::string("COM1") + texts::PortInUseTail},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        UpgradeRig r;
        r.rig.view.portList = "9";
        r.rig.port.setPortOpen(false);
        r.rig.port.setAvailability(1, c.availability);
        EXPECT_EQ(cmdFlashSW2_Click(r.tool()), Reason::PortNotOpened);

        EXPECT_EQ(r.messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(r.view().messages().back().style, MessageStyle::Critical);
        EXPECT_EQ(r.rig.port.bytesSent(), "");
        EXPECT_TRUE(r.rig.processes.launches().empty());
        EXPECT_EQ(r.view().caption(Caption::lblFileCount), texts::FileTwoOfTwo);
        expectClosingSteps(r);
    }
}

TEST(ScalerFlash, PortFailingUnderTheCommandIsReportedAndTheToolStillRuns)
{
    UpgradeRig r;
    r.rig.port.failDeviceAfterBytes(3);
    cmdFlashSW2_Click(r.tool());

    // The scaler never heard "op dlgf": the tool cannot flash it, twice.
    EXPECT_EQ(r.messages(), (std::vector<std::string>{kLinkFailedText, kLinkFailedText}));
    EXPECT_EQ(r.rig.processes.launches().size(), 2u);
    EXPECT_FALSE(r.rig.projector.flashedScalerImage().has_value());
    expectClosingSteps(r);
}

TEST(ScalerFlash, ToolGetsThePortNumberAndTheImageInAbsoluteForm)
{
    UpgradeRig r;
    r.rig.port.setPortOpen(false);
    r.rig.port.setAvailability(3, PortAvailability::Projector);
    r.rig.port.setCommPort(3);
    SimIspTool toolOnPort3(r.rig.loop, r.rig.projector, r.rig.port, {}, 3);  // fails on any other number
    toolOnPort3.installAs(r.rig.processes, r.tool().programFile(kIspToolName));
    r.tool().state.package.ScalerImagePath = std::filesystem::path(r.scalerImage).filename().string();
    cmdFlashSW2_Click(r.tool());

    ASSERT_EQ(r.rig.processes.launches().size(), 1u);
    // One text on Windows, one item each elsewhere: the same words either way.
    std::string words;
    for (const std::string& a : r.rig.processes.launches()[0].arguments) words += (words.empty() ? "" : " ") + a;
    const auto image = std::filesystem::path(r.scalerImage).make_preferred();
    EXPECT_EQ(words, "-c 3 -l GF9450_CFI_DRIVER.BIN -d 7 -b 115200 -p " + GetShortNameFromLongName(image.string()));
    EXPECT_EQ(r.messages(), std::vector<std::string>{kDownloadComplete});
    EXPECT_TRUE(r.scalerImageFlashed());
}

// Every ending of the tool's runs: the one message (in it, %F stands for the
// program folder and %L for the log), how many times the tool was started,
// and that nothing it started is left running and no success is claimed
// that the scaler cannot back.
TEST(ScalerFlash, EachEndingOfTheToolsRunsItsMessage)
{
    IspSwitches fine, failOnce, failAlways, noLog, hang, lateLog, stamped;
    stamped.stampLines = true;
    failOnce.fail = IspSwitches::Failing::Once;
    failAlways.fail = IspSwitches::Failing::Always;
    noLog.writeNoLog = true;
    hang.hang = true;
    lateLog.logLateMs = 5000;
    std::unique_ptr<FolderLock> otherCopy;  // holds the folder through the run, as another copy of the program would
    const auto holdFolder = [&otherCopy](UpgradeRig& r) {
        otherCopy = std::make_unique<FolderLock>(r.rig.programFolder.str());
        ASSERT_EQ(otherCopy->tryLock(), FolderLock::Result::Taken);
    };
    struct Case {
        const char* name;
        IspSwitches tool;
        std::function<void(UpgradeRig&)> before;
        std::string message;
        std::size_t starts;
    } cases[] = {
        {"first run fails, second flashes", failOnce, {}, kDownloadComplete, 2},
        {"log lines stamped with the time", stamped, {}, kDownloadComplete, 1},
        {"error as the last line twice", failAlways, {}, kLinkFailedText, 2},
        {"success log left by an earlier run", noLog,
         [](UpgradeRig& r) { writeFile(r.log(), "old run\r\nCommand: 0503 0000 fafd"); }, kLinkFailedText, 2},
        {"hung tool stopped at its limit, twice", hang,
         [](UpgradeRig& r) { writeFile(r.tool().settingsPath(), "[ISP]\r\nTIMELIMIT=30\r\n"); }, kLinkFailedText, 2},
        {"log written late by what the tool left", lateLog, {}, kLinkFailedText, 2},
        {"tool not there", fine, [](UpgradeRig& r) { r.rig.processes.failStartsWith(2); },
         "ERROR: Can't find file. gf9450isp.exe is expected in %F.", 0},
        {"tool failing to start, unknown error", fine, [](UpgradeRig& r) { r.rig.processes.failStartsWith(0); },
         "Error!", 0},
        {"tool failing to start, access denied", fine, [](UpgradeRig& r) { r.rig.processes.failStartsWith(5); },
         "ERROR: Can't open file.", 0},
        {"scaler image gone", fine, [](UpgradeRig& r) { r.tool().state.package.ScalerImagePath = "/no/such/s.bin"; },
         "ERROR: Can't find file.", 0},
        {"old log that cannot be deleted", fine,
         [](UpgradeRig& r) { std::filesystem::create_directories(r.log() + "/held"); },
         "ERROR: Can't delete the old ISP tool log %L: ", 0},
        {"folder held past two runs of the limit", fine,
         [&](UpgradeRig& r) {
             writeFile(r.tool().settingsPath(), "[ISP]\r\nTIMELIMIT=10\r\n");
             holdFolder(r);
         },
         "ERROR: Another upgrade's ISP tool still runs in %F.", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UpgradeRig r({}, c.tool);
        if (c.before) c.before(r);
        const Micros start = r.rig.loop.now();
        cmdFlashSW2_Click(r.tool());
        r.rig.loop.runUntil(r.rig.loop.now() + seconds(60));  // whatever a tool left behind has its say

        std::string message = c.message;
        if (const auto at = message.find("%F"); at != std::string::npos) message.replace(at, 2, r.rig.programFolder.str());
        if (const auto at = message.find("%L"); at != std::string::npos) message.replace(at, 2, r.log());
        ASSERT_EQ(r.messages().size(), 1u);
        EXPECT_EQ(r.messages()[0].substr(0, message.size()), message);  // a reason from the system may follow
        EXPECT_EQ(r.view().messages()[0].style,
                  message == kDownloadComplete ? MessageStyle::Information : MessageStyle::Critical);
        EXPECT_EQ(r.rig.processes.launches().size(), c.starts);
        EXPECT_EQ(r.rig.processes.running(), 0);
        EXPECT_FALSE(r.isp.leftSomethingRunning());
        EXPECT_LT(r.rig.loop.now() - start, seconds(2 * 30 + 60 + 120));  // never waits past its limits
        expectClosingSteps(r);
    }
}

TEST(IspToolSafety, TimeLimitComesFromSettingsWithTheDefaultForAnythingButWholeSeconds)
{
    for (const auto& [text, seconds] : std::vector<std::pair<std::string, int32_t>>{
             {"", 1200}, {"0", 1200}, {"abc", 1200}, {"12.5", 1200}, {"-5", 1200}, {"5s", 1200},
             {"45", 45}, {"007", 7}, {"99999999999999999999", 7 * 24 * 3600}}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ispTimeLimitFrom(text), seconds);
    }
}

TEST(IspToolSafety, SecondCopyOnTheFolderWaitsSaysSoAndThenFlashes)
{
    UpgradeRig r;
    auto other = std::make_shared<FolderLock>(r.rig.programFolder.path().string());
    ASSERT_EQ(other->tryLock(), FolderLock::Result::Taken);
    // The other copy's run judges its own log and lets the folder go.
    r.rig.loop.schedule(seconds(100), [&] {
        writeFile(r.log(), "Command: 0503 0000 fafd\r\n");
        other.reset();
    });
    cmdFlashSW2_Click(r.tool());

    const auto& captions = r.view().captionHistory();
    EXPECT_NE(std::find(captions.begin(), captions.end(), std::string("lblFileCount=") + texts::WaitingForFolder),
              captions.end());
    ASSERT_EQ(r.rig.processes.launches().size(), 1u);
    EXPECT_GE(r.rig.processes.launches()[0].at, seconds(100));
    EXPECT_EQ(r.messages(), std::vector<std::string>{kDownloadComplete});
    EXPECT_TRUE(r.scalerImageFlashed());
}

TEST(IspToolSafety, ClosingTheWindowWhileTheToolRunsStopsItAndFreesThePort)
{
    IspSwitches hang;
    hang.hang = true;
    UpgradeRig r({}, hang);
    struct Seen {
        bool closeCancelled = true, toolLeft = true, portFree = false;
    } atClose;
    r.rig.loop.schedule(seconds(60), [&] {
        atClose.closeCancelled = Form_QueryUnload(r.tool());
        if (atClose.closeCancelled) return;
        Form_Unload(r.tool());  // the program ends here
        atClose.toolLeft = r.rig.processes.running() > 0 || r.isp.leftSomethingRunning();
        atClose.portFree = r.rig.port.opens() == 1 && (r.rig.port.setPortOpen(true), r.rig.port.portOpen());
        r.rig.port.setPortOpen(false);
    });
    r.rig.view.answerNext(Answer::Yes);
    cmdFlashSW2_Click(r.tool());

    EXPECT_FALSE(atClose.closeCancelled);
    EXPECT_EQ(r.messages().front(), "now, the projector will become damaged. Are you sure?");
    EXPECT_EQ(r.view().messages().front().style, MessageStyle::Question);
    EXPECT_FALSE(atClose.toolLeft);
    EXPECT_TRUE(atClose.portFree);
}
