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

TEST(ExitMenu, AsksAndEndsOnlyOnYes)
{
    SimRig rig;
    rig.view.answerNext(Answer::No);
    EXPECT_FALSE(pExit_Click(rig.tool));
    rig.view.answerNext(Answer::Yes);
    EXPECT_TRUE(pExit_Click(rig.tool));
    EXPECT_EQ(rig.view.messageTexts(), (std::vector<std::string>{"Exit this program?", "Exit this program?"}));
}

TEST(WindowClose, ClosesThePortAndRestoresThePointerAndASecondCloseDoesNoMore)
{
    SimRig rig;
    rig.port.setPortOpen(true);
    for (int close = 1; close <= 2; ++close) {
        SCOPED_TRACE(close);
        rig.view.setBusyPointer(true);
        Form_Unload(rig.tool);
        EXPECT_FALSE(rig.port.portOpen());
        EXPECT_FALSE(rig.view.busyPointer());
        EXPECT_EQ(rig.port.opens(), 1u);
        EXPECT_TRUE(rig.view.messages().empty());
    }
}

// Every tick counts a second and shows minutes and seconds, at least two
// digits each.
TEST(ElapsedTime, EveryTickCountsAndRewritesTheLabel)
{
    for (const auto& [before, shown] : std::vector<std::pair<int32_t, std::string>>{
             {-1, "00:00"}, {64, "01:05"}, {3598, "59:59"}, {5999, "100:00"}}) {
        SimRig rig;
        rig.tool.state.ElapsedSeconds = before;
        Timer1_Timer(rig.tool);
        EXPECT_EQ(rig.tool.state.ElapsedSeconds, before + 1);
        EXPECT_EQ(rig.view.caption(Caption::Form3Label2), shown);
    }
}
