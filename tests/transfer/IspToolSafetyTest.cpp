#include <gtest/gtest.h>

#include <filesystem>

#include "UpgradeRig.h"
#include "window/MainWindow.h"
#include "window/ScalerPhase.h"
#include "ground/FolderLock.h"
#include "transfer/IspSettings.h"
#include "transfer/ScalerFlash.h"

using namespace fw;
using namespace fw::sim;
using namespace fw::sim::isp;
using namespace fw::testing;

namespace {

const std::string kWaiting = "Waiting for another upgrade's ISP tool to finish ...";

void setTimeLimit(UpgradeRig& r, const std::string& seconds)
{
    writeFile(r.tool().settingsPath(), "[ISP]\r\nTIMELIMIT=" + seconds + "\r\n");
}

IspSwitches hanging()
{
    IspSwitches s;
    s.hang = true;
    return s;
}

bool captionShown(const UpgradeRig& r, const std::string& entry)
{
    const auto& h = r.view().captionHistory();
    return std::find(h.begin(), h.end(), entry) != h.end();
}

} // namespace

TEST(IspToolSafety, TimeLimitComesFromSettingsWithTheDefaultForAnythingButWholeSeconds)
{
    for (const auto& [text, seconds] : std::vector<std::pair<std::string, int32_t>>{
             {"", 1200}, {"0", 1200}, {"abc", 1200}, {"12.5", 1200}, {"-5", 1200}, {"5s", 1200},
             {"45", 45}, {"007", 7}, {"99999999999999999999", 7 * 24 * 3600}}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ispTimeLimitFrom(text), seconds);
    }
}

TEST(IspToolSafety, HungToolIsStoppedAtItsLimitRetriedOnceAndReportedWithNothingLeftRunning)
{
    UpgradeRig r({}, hanging());
    setTimeLimit(r, "30");
    cmdFlashSW2_Click(r.tool());

    EXPECT_EQ(r.messages(), std::vector<std::string>{kLinkFailedText});
    const auto& launches = r.rig.processes.launches();
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_GE(launches[1].at - launches[0].at, seconds(30));
    EXPECT_LE(launches[1].at - launches[0].at, seconds(30) + ms(200));
    EXPECT_EQ(r.rig.processes.stops(), 2);
    EXPECT_EQ(r.rig.processes.running(), 0);
    EXPECT_FALSE(r.isp.leftSomethingRunning());
    EXPECT_TRUE(r.view().enabled(Control::RS_232));
    EXPECT_FALSE(r.tool().state.DownloadBusy);
}

TEST(IspToolSafety, LogWrittenLateByWhatTheToolLeftBehindIsNeverJudged)
{
    IspSwitches late;
    late.logLateMs = 5000;
    UpgradeRig r({}, late);
    cmdFlashSW2_Click(r.tool());
    r.rig.loop.runUntil(r.rig.loop.now() + seconds(60));

    // The scaler took its image, but no log of this run's own was there to say so.
    EXPECT_EQ(r.messages(), std::vector<std::string>{kLinkFailedText});
    EXPECT_EQ(r.rig.processes.launches().size(), 2u);
    EXPECT_FALSE(r.isp.leftSomethingRunning());
    EXPECT_FALSE(std::filesystem::exists(r.log()));
}

TEST(IspToolSafety, OldLogThatCannotBeDeletedStopsBeforeTheTool)
{
    UpgradeRig r;
    std::filesystem::create_directories(r.log() + "/held");  // a folder where the log should be
    cmdFlashSW2_Click(r.tool());

    ASSERT_EQ(r.messages().size(), 1u);
    EXPECT_EQ(r.messages()[0].rfind("ERROR: Can't delete the old ISP tool log " + r.log() + ": ", 0), 0u)
        << r.messages()[0];
    EXPECT_EQ(r.view().messages()[0].style, MessageStyle::Critical);
    EXPECT_TRUE(r.rig.processes.launches().empty());
    EXPECT_FALSE(r.rig.port.portOpen());
    EXPECT_FALSE(r.tool().state.DownloadBusy);
    EXPECT_TRUE(r.view().enabled(Control::cmdUpgradeSW));
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

    EXPECT_TRUE(captionShown(r, std::string("lblFileCount=") + kWaiting));
    ASSERT_EQ(r.rig.processes.launches().size(), 1u);
    EXPECT_GE(r.rig.processes.launches()[0].at, seconds(100));
    EXPECT_EQ(r.messages(), std::vector<std::string>{kDownloadComplete});
    EXPECT_TRUE(r.scalerImageFlashed());
}

TEST(IspToolSafety, FolderHeldPastTwoRunsOfTheLimitEndsWithAMessageAndNoTool)
{
    UpgradeRig r;
    setTimeLimit(r, "10");
    FolderLock other(r.rig.programFolder.path().string());
    ASSERT_EQ(other.tryLock(), FolderLock::Result::Taken);
    const Micros start = r.rig.loop.now();
    cmdFlashSW2_Click(r.tool());

    EXPECT_EQ(r.messages(),
              std::vector<std::string>{"ERROR: Another upgrade's ISP tool still runs in " + r.rig.programFolder.path().string() + "."});
    EXPECT_TRUE(r.rig.processes.launches().empty());
    EXPECT_LT(r.rig.loop.now() - start, seconds(2 * 10 + 60 + 45));
    EXPECT_FALSE(r.rig.port.portOpen());
    EXPECT_FALSE(r.tool().state.DownloadBusy);
}

TEST(IspToolSafety, ClosingTheWindowWhileTheToolRunsStopsItAndFreesThePort)
{
    UpgradeRig r({}, hanging());
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
    EXPECT_FALSE(atClose.toolLeft);
    EXPECT_TRUE(atClose.portFree);
}
