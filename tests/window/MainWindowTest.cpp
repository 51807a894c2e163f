#include <gtest/gtest.h>

#include "SimRig.h"
#include "window/MainWindow.h"

using namespace fw;
using namespace fw::sim;

TEST(ExitGuard, CloseWithoutDownloadAsksNothing)
{
    SimRig rig;
    EXPECT_FALSE(Form_QueryUnload(rig.tool));
    EXPECT_TRUE(rig.view.messages().empty());
}

TEST(ExitGuard, CloseDuringDownloadAsksAndNoKeepsTheWindow)
{
    SimRig rig;
    rig.tool.state.DownloadBusy = true;
    rig.view.answerNext(Answer::No);
    EXPECT_TRUE(Form_QueryUnload(rig.tool));
    ASSERT_EQ(rig.view.messages().size(), 1u);
    EXPECT_EQ(rig.view.messages()[0].text, "now, the projector will become damaged. Are you sure?");
    EXPECT_EQ(rig.view.messages()[0].style, MessageStyle::Question);

    rig.view.answerNext(Answer::Yes);
    EXPECT_FALSE(Form_QueryUnload(rig.tool));
}

TEST(ExitMenu, AsksAndEndsOnlyOnYes)
{
    SimRig rig;
    rig.view.answerNext(Answer::No);
    EXPECT_FALSE(pExit_Click(rig.tool));
    rig.view.answerNext(Answer::Yes);
    EXPECT_TRUE(pExit_Click(rig.tool));
    EXPECT_EQ(rig.view.messageTexts(), (std::vector<std::string>{"Exit this program?", "Exit this program?"}));
}

TEST(WindowClose, ClosesThePortAndRestoresThePointer)
{
    SimRig rig;
    rig.port.setPortOpen(true);
    rig.view.setBusyPointer(true);
    Form_Unload(rig.tool);
    EXPECT_FALSE(rig.port.portOpen());
    EXPECT_FALSE(rig.view.busyPointer());
    Form_Unload(rig.tool);  // a second close is harmless
}

TEST(ElapsedTime, ShowsMinutesAndSecondsWithAtLeastTwoDigits)
{
    EXPECT_EQ(elapsedText(0), "00:00");
    EXPECT_EQ(elapsedText(65), "01:05");
    EXPECT_EQ(elapsedText(3599), "59:59");
    EXPECT_EQ(elapsedText(6000), "100:00");
}

TEST(ElapsedTime, EveryTickCountsAndRewritesTheLabel)
{
    SimRig rig;
    rig.tool.state.ElapsedSeconds = 64;
    Timer1_Timer(rig.tool);
    EXPECT_EQ(rig.tool.state.ElapsedSeconds, 65);
    EXPECT_EQ(rig.view.caption(Caption::Form3Label2), "01:05");
}
