#include <gtest/gtest.h>

#include "PackageMaker.h"
#include "SimRig.h"
#include "link/TestLink.h"
#include "package/CheckListFile.h"

using namespace fw;
using namespace fw::sim;

namespace {

const std::string kLinkFailed = "Communication with projector failed.";

bool allTestControlsOff(const RecordingView& v)
{
    return !v.enabled(Control::cmdTest) && !v.enabled(Control::cmdUpgradeSW) && !v.enabled(Control::cmdOpenFile1);
}

} // namespace

TEST(TestLink, ProjectorAnsweringNopPassesAndEnablesOpenFile)
{
    SimRig rig;
    rig.view.setEnabled(Control::cmdOpenFile1, false);
    EXPECT_TRUE(TestLink(rig.tool));
    EXPECT_TRUE(rig.view.enabled(Control::cmdOpenFile1));
    EXPECT_TRUE(rig.view.messages().empty());
    EXPECT_EQ(rig.port.bytesSent(), "ky nop\r");
}

TEST(TestLink, NopInLowerCaseOnlyIsALinkFailure)
{
    SimRig rig({.lowerCaseAnswers = true});
    EXPECT_FALSE(TestLink(rig.tool));
    EXPECT_EQ(rig.view.messageTexts(), std::vector<std::string>{kLinkFailed});
    EXPECT_FALSE(rig.view.enabled(Control::cmdUpgradeSW));
    EXPECT_FALSE(rig.view.enabled(Control::cmdOpenFile1));
    EXPECT_TRUE(rig.view.enabled(Control::cmdTest));  // the routine leaves the test button to its callers
}

TEST(TestLink, PortThatDoesNotExistIsReportedOnceOnly)
{
    SimRig rig;
    rig.port.setCommPort(9);
    rig.view.portList = "9";
    EXPECT_FALSE(TestLink(rig.tool));
    EXPECT_EQ(rig.view.messageTexts(),
              std::vector<std::string>{"COM9 is invalid. Please select an available RS232 port."});
}

TEST(CommunicationTestButton, AnsweringProjectorWithoutPackageShowsTestOkAndAsksNoModel)
{
    SimRig rig;
    cmdTest_Click(rig.tool);
    ASSERT_FALSE(rig.view.messages().empty());
    EXPECT_EQ(rig.view.messages().back().text, "Test OK!");
    EXPECT_EQ(rig.view.messages().back().style, MessageStyle::Information);
    EXPECT_TRUE(rig.view.enabled(Control::cmdTest));
    EXPECT_TRUE(rig.view.enabled(Control::cmdOpenFile1));
    EXPECT_FALSE(rig.view.enabled(Control::cmdUpgradeSW));  // the package check failed
    EXPECT_EQ(rig.port.bytesSent(), "ky nop\r");            // no model query without a valid package
}

TEST(CommunicationTestButton, ValidMatchingPackageKeepsUpgradeEnabled)
{
    SimRig rig;
    const auto pkg = fw::testing::makePackage(rig.workFolder.str());
    rig.tool.state.txtTxtSourceFilePath = pkg.listFile;
    cmdTest_Click(rig.tool);
    EXPECT_EQ(rig.view.messageTexts(), std::vector<std::string>{"Test OK!"});
    EXPECT_TRUE(rig.view.enabled(Control::cmdUpgradeSW));
    EXPECT_EQ(rig.port.bytesSent(), "ky nop\rop model.name ?\r");
}

TEST(CommunicationTestButton, ModelMismatchIsShownBeforeTestOk)
{
    SimRig rig({.modelName = "QT1952"});
    const auto pkg = fw::testing::makePackage(rig.workFolder.str());
    rig.tool.state.txtTxtSourceFilePath = pkg.listFile;
    cmdTest_Click(rig.tool);
    EXPECT_EQ(rig.view.messageTexts(),
              (std::vector<std::string>{"Text file doesn't match the connected projector.", "Test OK!"}));
    EXPECT_FALSE(rig.view.enabled(Control::cmdUpgradeSW));
    EXPECT_TRUE(rig.view.enabled(Control::cmdOpenFile1));
    EXPECT_TRUE(rig.view.enabled(Control::cmdTest));
}

TEST(CommunicationTestButton, LowerCaseNopIsTestFailedWithAllThreeButtonsOff)
{
    SimRig rig({.lowerCaseAnswers = true});
    cmdTest_Click(rig.tool);
    ASSERT_EQ(rig.view.messages().size(), 1u);
    EXPECT_EQ(rig.view.messages()[0].text, "Test failed!");
    EXPECT_EQ(rig.view.messages()[0].style, MessageStyle::Critical);
    EXPECT_TRUE(allTestControlsOff(rig.view));
}

TEST(CommunicationTestButton, SilentProjectorGivesTheLinkFailureAfterSixSendings)
{
    SimRig rig({.silent = true});
    cmdTest_Click(rig.tool);
    EXPECT_EQ(rig.view.messageTexts(), std::vector<std::string>{kLinkFailed});
    EXPECT_TRUE(allTestControlsOff(rig.view));
    EXPECT_GT(rig.view.messages()[0].at, ms(12300));
    EXPECT_EQ(rig.tool.state.statusLine, kLinkFailed);
}

TEST(CommunicationTestButton, ButtonsAreOffWhileTheTestRuns)
{
    SimRig rig;
    bool offDuringTest = false;
    rig.loop.schedule(ms(1000), [&] { offDuringTest = allTestControlsOff(rig.view); });
    cmdTest_Click(rig.tool);
    EXPECT_TRUE(offDuringTest);
}

TEST(CommunicationTestButton, InvalidPortEndsWithItsOwnMessageAndTheButtonsOff)
{
    SimRig rig;
    rig.port.setCommPort(9);
    rig.view.portList = "9";
    cmdTest_Click(rig.tool);
    EXPECT_EQ(rig.view.messageTexts(),
              std::vector<std::string>{"COM9 is invalid. Please select an available RS232 port."});
    EXPECT_TRUE(allTestControlsOff(rig.view));
}
