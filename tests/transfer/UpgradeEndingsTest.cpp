#include <gtest/gtest.h>

#include "UpgradeRig.h"
#include "window/MainWindow.h"
#include "window/Settings.h"
#include "window/Upgrade.h"

using namespace fw;
using namespace fw::sim;
using namespace fw::testing;

namespace {

const std::string kInvalidPackage = "Selected text file is not valid. Please select a valid file.";

bool onlyPortChoiceLeft(const RecordingView& v)
{
    return !v.enabled(Control::cmdUpgradeSW) && !v.enabled(Control::cmdOpenFile1) && !v.enabled(Control::cmdTest) &&
           v.enabled(Control::RS_232);
}

} // namespace

TEST(UpgradeEndings, AnsweringNoChangesNothingAndLeavesExitEnabled)
{
    UpgradeRig r;
    r.rig.view.answerNext(Answer::No);
    cmdUpgradeSW_Click(r.tool());

    EXPECT_EQ(r.messages(), std::vector<std::string>{kConfirmationText});
    EXPECT_EQ(r.view().messages()[0].style, MessageStyle::Question);
    EXPECT_EQ(r.rig.port.bytesSent(), "");
    EXPECT_EQ(r.tool().state.statusLine, "");
    EXPECT_TRUE(workControlsEnabled(r.view()));
    EXPECT_TRUE(r.view().progressHistory().empty());
    expectWindowGivenBack(r);
}

TEST(UpgradeEndings, WithoutAValidPackageItRefusesBeforeAskingOrTouchingThePort)
{
    for (bool listFileValid : {false, true}) {
        UpgradeRig r;
        r.tool().state.ListFileValid = listFileValid;
        if (listFileValid) r.tool().state.lblSize = "";  // nothing to announce
        const auto opensBefore = r.rig.port.opens();
        cmdUpgradeSW_Click(r.tool());

        EXPECT_EQ(r.messages(), std::vector<std::string>{kInvalidPackage});
        EXPECT_EQ(r.view().messages()[0].style, MessageStyle::Critical);
        EXPECT_EQ(r.tool().state.statusLine, kInvalidPackage);
        EXPECT_EQ(r.rig.port.bytesSent(), "");
        EXPECT_EQ(r.rig.port.opens(), opensBefore);
        EXPECT_TRUE(r.view().unexpected().empty());  // no question was asked
        expectWindowGivenBack(r);
    }
}

TEST(UpgradeEndings, PortLeftClosedByAnEarlierOperationEndsBeforeAnythingIsSent)
{
    UpgradeRig r;
    r.rig.port.setPortOpen(false);
    r.rig.view.answerNext(Answer::Yes);
    cmdUpgradeSW_Click(r.tool());

    EXPECT_EQ(r.messages(), (std::vector<std::string>{kConfirmationText, kLinkFailedText}));
    EXPECT_EQ(r.view().messages()[1].style, MessageStyle::Critical);
    EXPECT_EQ(r.tool().state.statusLine, kLinkFailedText);
    EXPECT_EQ(r.rig.port.bytesSent(), "");
    EXPECT_EQ(r.view().progress(), 0);
    EXPECT_TRUE(workControlsEnabled(r.view()));
    expectWindowGivenBack(r);
}

TEST(UpgradeEndings, FailedLinkTestEndsWithItsOwnMessageAndLeavesThePortChoice)
{
    UpgradeRig r({.silent = true});
    r.rig.view.answerNext(Answer::Yes);
    cmdUpgradeSW_Click(r.tool());

    EXPECT_EQ(r.messages(), (std::vector<std::string>{kConfirmationText, kLinkFailedText}));
    EXPECT_EQ(r.rig.port.bytesSent().find("op dlmy"), std::string::npos);
    EXPECT_EQ(r.tool().state.statusLine, "");
    EXPECT_TRUE(onlyPortChoiceLeft(r.view()));
    EXPECT_EQ(r.view().caption(Caption::lblFileCount), "");
    expectWindowGivenBack(r);
}

TEST(UpgradeEndings, PortThatVanishedIsReportedByItsOwnNumber)
{
    UpgradeRig r;
    r.rig.view.portList = "9";  // the dialog's text is not what names the port here
    r.rig.port.setAvailability(1, PortAvailability::Missing);
    r.rig.view.answerNext(Answer::Yes);
    cmdUpgradeSW_Click(r.tool());

    EXPECT_EQ(r.messages(), (std::vector<std::string>{kConfirmationText,
                                                      "COM1 is invalid. Please select an available RS232 port."}));
    EXPECT_EQ(r.tool().state.statusLine, "COM1 is invalid. Please select an available RS232 port.");
    EXPECT_EQ(r.rig.port.bytesSent(), "");
    EXPECT_TRUE(onlyPortChoiceLeft(r.view()));
    expectWindowGivenBack(r);
}

TEST(UpgradeEndings, PortTakenByAnotherProgramGoesOnToTheLinkTestWhichReportsIt)
{
    UpgradeRig r;
    r.rig.port.setAvailability(1, PortAvailability::HeldByOther);
    r.rig.view.answerNext(Answer::Yes);
    cmdUpgradeSW_Click(r.tool());

    EXPECT_EQ(r.messages(), (std::vector<std::string>{kConfirmationText, kLinkFailedText}));
    EXPECT_EQ(r.rig.port.bytesSent(), "");
    EXPECT_TRUE(onlyPortChoiceLeft(r.view()));
    expectWindowGivenBack(r);
}

TEST(UpgradeEndings, WhileTheImageGoesOutTheWindowIsBusyAndClosingAsksFirst)
{
    UpgradeRig r;
    struct Seen {
        bool busy = false, pointer = false, exitEnabled = true, upgradeEnabled = true;
        std::string status, fileCount;
    } during;
    int blocks = 0;
    r.rig.port.onWire = [&](const sim::WireRecord& w) {
        if (w.bytes.size() != 1024 || ++blocks != 128) return;
        r.rig.loop.scheduleAfter(0, [&] {  // the close request comes from the event loop, between blocks
            during = {r.tool().state.DownloadBusy, r.view().busyPointer(), r.view().enabled(Control::pExit),
                      r.view().enabled(Control::cmdUpgradeSW), r.tool().state.statusLine,
                      r.view().caption(Caption::lblFileCount)};
            r.rig.view.answerNext(Answer::No);
            EXPECT_TRUE(Form_QueryUnload(r.tool()));  // No keeps the window and the download
        });
    };
    r.rig.view.answerNext(Answer::Yes);
    cmdUpgradeSW_Click(r.tool());

    EXPECT_TRUE(during.busy);
    EXPECT_TRUE(during.pointer);
    EXPECT_FALSE(during.exitEnabled);
    EXPECT_FALSE(during.upgradeEnabled);
    EXPECT_EQ(during.status, "Downloading, please wait ...");
    EXPECT_EQ(during.fileCount, "Downloading file 1 of 2");
    EXPECT_TRUE(r.showed("now, the projector will become damaged. Are you sure?"));
    EXPECT_TRUE(r.showed(kDownloadComplete));
    expectNoFalseSuccess(r);
}

TEST(UpgradeEndings, BetweenTheVerdictAndTheScalerPhaseClosingAsksFirst)
{
    UpgradeRig r;
    struct Seen {
        bool pointer = true, progressVisible = true, closeCancelled = false;
        std::string status;
    } afterVerdict;
    // Looked at as the restart banner arrives, after the verdict and before the scaler phase.
    bool looked = false;
    r.rig.port.onWire = [&](const sim::WireRecord& w) {
        if (looked || w.bytes.find("BOOT") == std::string::npos) return;
        looked = true;
        afterVerdict = {r.view().busyPointer(), r.view().progressVisible(), Form_QueryUnload(r.tool()),
                        r.tool().state.statusLine};
    };
    r.rig.view.answerNext(Answer::Yes);
    r.rig.view.answerNext(Answer::No);  // stay: the projector is half upgraded
    cmdUpgradeSW_Click(r.tool());

    EXPECT_FALSE(afterVerdict.pointer);
    EXPECT_FALSE(afterVerdict.progressVisible);
    EXPECT_TRUE(afterVerdict.closeCancelled);
    EXPECT_EQ(afterVerdict.status, "uP software downloaded ok. Now starting scaler software download. Please wait ...");
    EXPECT_EQ(r.messages(), (std::vector<std::string>{kConfirmationText,
                                                      "now, the projector will become damaged. Are you sure?",
                                                      kDownloadComplete}));
    expectWindowGivenBack(r);
}

TEST(UpgradeEndings, PortDialogLeftOpenCannotTakeThePortFromTheUpgrade)
{
    UpgradeRig r;
    RS_232_Click(r.tool());  // opened before the upgrade, left open
    const uint64_t opensBefore = r.rig.port.opens();
    // OK pressed every second of the upgrade, the ISP tool's run included.
    int pressesWhileToolRan = 0;
    for (Micros at = seconds(1); at < seconds(300); at += seconds(1))
        r.rig.loop.schedule(at, [&] {
            if (!r.tool().state.DownloadBusy) return;
            pressesWhileToolRan += r.rig.processes.running();
            RS232_Click(r.tool());
        });
    r.rig.view.answerNext(Answer::Yes);
    cmdUpgradeSW_Click(r.tool());

    EXPECT_GT(pressesWhileToolRan, 0);
    EXPECT_EQ(r.rig.port.opens(), opensBefore + 1);  // only the upgrade's own reopening
    EXPECT_EQ(r.messages().back(), kDownloadComplete);
    expectWindowGivenBack(r);
    // Afterwards the dialog works again.
    RS232_Click(r.tool());
    EXPECT_EQ(r.rig.port.opens(), opensBefore + 2);
}
