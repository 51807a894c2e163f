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
