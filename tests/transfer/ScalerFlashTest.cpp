#include <gtest/gtest.h>

#include <filesystem>

#include "UpgradeRig.h"
#include "ground/FileHelpers.h"
#include "window/MainWindow.h"
#include "window/ScalerPhase.h"
#include "transfer/IspCommandLine.h"
#include "transfer/ScalerFlash.h"
#include "transfer/ToolLog.h"

using namespace fw;
using namespace fw::sim;
using namespace fw::sim::isp;
using namespace fw::testing;

namespace {

const std::string kFileCount = "Downloading file 2 of 2";

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
    return r.rig.processes.launches().at(0).at - ispCommandSentAt(r.rig.port) - SimSerialPort::lineTime(1) - ms(2000);
}

// Every ending of the scaler phase gives the window back this way, with the
// port closed for the ISP tool or never opened. Run on its own (the hidden
// "Flash SW" button) the phase vouches for the scaler image only.
void expectClosingSteps(const UpgradeRig& r)
{
    EXPECT_FALSE(r.rig.port.portOpen());
    EXPECT_FALSE(r.rig.tool.state.ispModeYes);
    EXPECT_TRUE(workControlsEnabled(r.view()));
    EXPECT_FALSE(r.view().busyPointer());
    EXPECT_FALSE(r.rig.tool.state.DownloadBusy);
    EXPECT_FALSE(r.view().processingWindowVisible());
    EXPECT_FALSE(r.view().processingWindowTopmost());
    if (r.showed(kDownloadComplete)) {
        EXPECT_TRUE(r.scalerImageFlashed()) << "success shown without the scaler image";
    }
}

void expectOneCritical(const UpgradeRig& r, const std::string& message)
{
    EXPECT_EQ(r.messages(), std::vector<std::string>{message});
    if (!r.view().messages().empty()) {
        EXPECT_EQ(r.view().messages()[0].style, MessageStyle::Critical);
    }
    EXPECT_EQ(r.rig.tool.state.statusLine, message);
}

IspSwitches failing(IspSwitches::Failing how)
{
    IspSwitches s;
    s.fail = how;
    return s;
}

} // namespace

TEST(ScalerFlash, ToolThatSucceedsAtOnceRunsOnceOnTheReleasedPort)
{
    UpgradeRig r;
    r.tool().state.ElapsedSeconds = 500;
    cmdFlashSW2_Click(r.tool());

    EXPECT_EQ(r.messages(), std::vector<std::string>{kDownloadComplete});
    EXPECT_EQ(r.view().messages()[0].style, MessageStyle::Information);
    EXPECT_EQ(r.rig.port.bytesSent(), "op dlgf\r");
    EXPECT_TRUE(r.scalerImageFlashed());
    EXPECT_EQ(r.rig.processes.launches().size(), 1u);
    EXPECT_EQ(r.isp.runs(), 1);
    // The banner came at the first poll; then the fixed 4000 ms.
    EXPECT_GE(waitBeforeTool(r), ms(4000));
    EXPECT_LE(waitBeforeTool(r), ms(4004));
    EXPECT_EQ(r.tool().state.Label5, kIspSuccessLine);
    EXPECT_EQ(r.view().caption(Caption::lblFileCount), "");
    EXPECT_LT(r.tool().state.ElapsedSeconds, 500);  // reset when the phase began
    expectClosingSteps(r);
}

TEST(ScalerFlash, ProcessingWindowStaysOnTopAndAnimatesWhileTheToolRuns)
{
    IspSwitches slow;
    slow.runAtLeastMs = 8000;
    UpgradeRig r({}, slow);
    std::vector<std::string> captions;
    bool shownOnTop = false;
    for (Micros at = seconds(5); at < seconds(15); at += ms(1))
        r.rig.loop.schedule(at, [&] {
            const std::string now = r.view().caption(Caption::Form3Label1);
            if (captions.empty() || captions.back() != now) captions.push_back(now);
            shownOnTop = shownOnTop || (r.view().processingWindowVisible() && r.view().processingWindowTopmost());
        });
    cmdFlashSW2_Click(r.tool());

    EXPECT_TRUE(shownOnTop);
    const std::string text = "Downloading, please wait ...";
    // Each tick shows one character more, up to all 28, then one empty tick.
    auto full = std::find(captions.begin(), captions.end(), text);
    ASSERT_NE(full, captions.end());
    ASSERT_GE(full - captions.begin(), 28);
    for (int n = 1; n <= 28; ++n) EXPECT_EQ(*(full - 28 + n), text.substr(0, std::size_t(n)));
    ASSERT_GE(captions.end() - full, 3);
    EXPECT_EQ(*(full + 1), "");
    EXPECT_EQ(*(full + 2), "D");
    EXPECT_EQ(r.messages(), std::vector<std::string>{kDownloadComplete});
    expectClosingSteps(r);
}

TEST(ScalerFlash, ScalerThatNeverSaysGennumStillGetsTheToolAfterAbout34Seconds)
{
    ProjectorOptions quiet;
    quiet.isp.banner.clear();
    UpgradeRig r(quiet);
    cmdFlashSW2_Click(r.tool());

    EXPECT_GE(waitBeforeTool(r), ms(61 * 500 + 4000));
    EXPECT_LE(waitBeforeTool(r), ms(61 * 502 + 4002));
    EXPECT_EQ(r.messages(), std::vector<std::string>{kDownloadComplete});
    EXPECT_TRUE(r.scalerImageFlashed());
}

TEST(ScalerFlash, BannerAlreadyInTheBufferInAnyCaseEndsTheWaitAtTheFirstPoll)
{
    ProjectorOptions quiet;
    quiet.isp.banner.clear();
    UpgradeRig r(quiet);
    r.tool().link.received = "earlier: gennum gf9450";
    cmdFlashSW2_Click(r.tool());

    EXPECT_GE(waitBeforeTool(r), ms(4000));
    EXPECT_LE(waitBeforeTool(r), ms(4004));
}

TEST(ScalerFlash, PortThatCannotBeOpenedEndsSilently)
{
    UpgradeRig r;
    r.rig.port.setPortOpen(false);
    r.rig.port.setAvailability(1, PortAvailability::Missing);
    cmdFlashSW2_Click(r.tool());

    EXPECT_TRUE(r.messages().empty());
    EXPECT_EQ(r.rig.port.bytesSent(), "");
    EXPECT_TRUE(r.rig.processes.launches().empty());
    EXPECT_EQ(r.view().caption(Caption::lblFileCount), kFileCount);
    expectClosingSteps(r);
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

TEST(ScalerFlash, ToolThatCannotBeStartedIsReportedByItsErrorCodeAndNotRetried)
{
    for (const auto& [code, message] : std::vector<std::pair<int, std::string>>{
             {2, "ERROR: Can't find file. gf9450isp.exe is expected in "}, {0, "Error!"},
             {5, "ERROR: Can't open file."}, {31, "ERROR: Can't open file."}}) {
        SCOPED_TRACE(code);
        UpgradeRig r;
        r.rig.processes.failStartsWith(code);
        cmdFlashSW2_Click(r.tool());

        // A missing tool names the folder it must be put in.
        expectOneCritical(r, code == 2 ? message + r.tool().programFolder + "." : message);
        EXPECT_EQ(r.view().caption(Caption::lblFileCount), kFileCount);
        expectClosingSteps(r);
    }
}

TEST(ScalerFlash, FirstRunFailingAndSecondSucceedingIsASuccessWithoutAnotherCommand)
{
    UpgradeRig r({}, failing(IspSwitches::Failing::Once));
    cmdFlashSW2_Click(r.tool());

    EXPECT_EQ(r.messages(), std::vector<std::string>{kDownloadComplete});
    EXPECT_EQ(r.rig.processes.launches().size(), 2u);
    EXPECT_EQ(r.rig.port.bytesSent(), "op dlgf\r");  // not sent again for the second run
    EXPECT_EQ(r.rig.port.opens(), 1u);                // and the port not reopened
    EXPECT_TRUE(r.scalerImageFlashed());
    expectClosingSteps(r);
}

TEST(ScalerFlash, ToolThatFailsTwiceIsALinkFailure)
{
    struct Case {
        const char* name;
        IspSwitches switches;
    };
    IspSwitches crashing, silent;
    crashing.crash = true;
    silent.writeNoLog = true;
    for (const Case& c : {Case{"error as last line", failing(IspSwitches::Failing::Always)},
                          Case{"crash before the result line", crashing}, Case{"no log at all", silent}}) {
        SCOPED_TRACE(c.name);
        UpgradeRig r({}, c.switches);
        cmdFlashSW2_Click(r.tool());

        expectOneCritical(r, kLinkFailedText);
        EXPECT_EQ(r.rig.processes.launches().size(), 2u);
        EXPECT_NE(r.tool().state.Label5, kIspSuccessLine);
        EXPECT_EQ(r.view().caption(Caption::lblFileCount), kFileCount);
        expectClosingSteps(r);
    }
}

TEST(ScalerFlash, SuccessLogLeftByAnEarlierRunDoesNotCount)
{
    IspSwitches silent;
    silent.writeNoLog = true;
    UpgradeRig r({}, silent);
    writeFile(r.log(), "old run\r\nCommand: 0503 0000 fafd");
    cmdFlashSW2_Click(r.tool());

    expectOneCritical(r, kLinkFailedText);
    EXPECT_FALSE(std::filesystem::exists(r.log()));
    EXPECT_EQ(r.tool().state.Label5, "");
}

TEST(ScalerFlash, RelativeScalerImageIsGivenToTheToolInAbsoluteForm)
{
    UpgradeRig r;
    std::filesystem::create_directory(r.rig.workFolder.file("images"));
    writeFile(r.rig.workFolder.file("images/scaler.bin"), r.scalerBytes);
    r.tool().state.package.ScalerImagePath = "images/scaler.bin";
    cmdFlashSW2_Click(r.tool());

    ASSERT_EQ(r.rig.processes.launches().size(), 1u);
    const auto image = std::filesystem::path(r.rig.workFolder.file("images/scaler.bin")).make_preferred();
    EXPECT_EQ(r.rig.processes.launches()[0].arguments, ispArguments(1, GetShortNameFromLongName(image.string())));
    EXPECT_EQ(r.messages(), std::vector<std::string>{kDownloadComplete});
    EXPECT_TRUE(r.scalerImageFlashed());
}

TEST(ScalerFlash, WithoutAScalerImageToNameTheToolIsNotRun)
{
    for (const std::string& path : {std::string{}, std::string{"missing.bin"}, std::string{"/no/such/scaler.bin"}}) {
        SCOPED_TRACE(path);
        UpgradeRig r;
        r.tool().state.package.ScalerImagePath = path;
        cmdFlashSW2_Click(r.tool());

        expectOneCritical(r, "ERROR: Can't find file.");
        EXPECT_TRUE(r.rig.processes.launches().empty());
        expectClosingSteps(r);
    }
}
