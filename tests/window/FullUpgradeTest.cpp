#include <gtest/gtest.h>

#include "UpgradeRig.h"
#include "window/MainWindow.h"
#include "window/Upgrade.h"

using namespace fw;
using namespace fw::sim;
using namespace fw::testing;

TEST(FullUpgrade, ConfirmedUpgradeFlashesBothImagesExactlyAndSaysDownloadComplete)
{
    UpgradeRig r({}, {}, kSmallestScalerSize);
    struct Seen {
        bool pointer = true, progressVisible = true, closeCancelled = false;
        std::string status;
    } afterVerdict;
    // Looked at as the restart banner arrives, after the verdict and before
    // the scaler phase: the projector is half upgraded, so a close asks first.
    r.rig.port.onWire = [&](const sim::WireRecord& w) {
        if (!afterVerdict.status.empty() || w.bytes.find("BOOT") == std::string::npos) return;
        afterVerdict = {r.view().busyPointer(), r.view().progressVisible(), Form_QueryUnload(r.tool()),
                        r.tool().state.statusLine};
    };
    r.rig.view.answerNext(Answer::Yes);
    r.rig.view.answerNext(Answer::No);  // stay
    cmdUpgradeSW_Click(r.tool());

    ASSERT_EQ(r.messages(), (std::vector<std::string>{kConfirmationText, texts::CloseWhileBusy, kDownloadComplete}));
    EXPECT_EQ(r.view().messages()[0].style, MessageStyle::Question);
    EXPECT_EQ(r.view().messages()[2].style, MessageStyle::Information);
    EXPECT_FALSE(afterVerdict.pointer);
    EXPECT_FALSE(afterVerdict.progressVisible);
    EXPECT_TRUE(afterVerdict.closeCancelled);
    EXPECT_EQ(afterVerdict.status, "uP software downloaded ok. Now starting scaler software download. Please wait ...");
    EXPECT_TRUE(r.upImageFlashed());
    EXPECT_TRUE(r.scalerImageFlashed());

    // On the wire: the link test, download mode, "y" without a line end, the
    // length, the raw image in 256 blocks of 1024, CR LF, then ISP mode.
    const auto writes = hostWrites(r.rig.port);
    std::string all;
    for (const auto& w : writes) all += w;
    EXPECT_EQ(all, "ky nop\rop dlmy\ry40000" + r.upBytes + "\r\nop dlgf\r");
    EXPECT_EQ(std::count_if(writes.begin(), writes.end(), [](const std::string& w) { return w.size() == 1024; }), 256);

    // The progress bar: 0, then before each block i/256 of the way, then 100.
    const auto& progress = r.view().progressHistory();
    ASSERT_EQ(progress.size(), 258u);
    EXPECT_EQ(progress[0], 0);
    EXPECT_FLOAT_EQ(progress[1], 0.390625);
    EXPECT_FLOAT_EQ(progress[128], 50);
    EXPECT_EQ(progress[256], 100);
    EXPECT_EQ(progress[257], 100);

    EXPECT_EQ(r.view().captionHistory(),
              (std::vector<std::string>{"lblFileCount=Processing, please wait ...",
                                        "lblFileCount=Downloading file 1 of 2", "lblFileCount=Downloading file 2 of 2",
                                        "Label5=", "Label5=Command: 0503 0000 fafd", "lblFileCount="}));

    // The ISP tool ran once, in the program folder.
    ASSERT_EQ(r.rig.processes.launches().size(), 1u);
    const auto& launch = r.rig.processes.launches()[0];
    EXPECT_EQ(launch.program, r.tool().programFile("gf9450isp.exe"));
    EXPECT_EQ(launch.workingDirectory, r.rig.programFolder.str());

    // The window afterwards.
    expectWindowGivenBack(r);
    EXPECT_FALSE(r.rig.port.portOpen());  // the ISP tool had it; it stays closed
    EXPECT_FALSE(r.view().progressVisible());
    EXPECT_FALSE(r.view().processingWindowVisible());
    EXPECT_EQ(r.tool().state.statusLine, kDownloadComplete);
    EXPECT_EQ(r.view().caption(Caption::lblFileCount), "");
    EXPECT_EQ(r.view().beeps(), 1);
    // The controls, change by change: Exit off; the work controls off for
    // the download; the link test's answer turns Open File on, and the
    // download turns it off again; off for the scaler phase, then
    // everything back, Exit last.
    const std::string off = "cmdUpgradeSW- cmdOpenFile1- cmdTest- RS_232- Text2-";
    const std::string on = "cmdUpgradeSW+ cmdOpenFile1+ cmdTest+ RS_232+ Text2+";
    EXPECT_EQ(r.view().enableHistory(), "pExit- " + off + " cmdOpenFile1+ " + off + " " + off + " " + on + " pExit+");
    EXPECT_TRUE(r.view().unexpected().empty());
}
