#include <gtest/gtest.h>

#include "SimRig.h"
#include "link/CheckModel.h"

using namespace fw;
using namespace fw::sim;

namespace {

const std::string kMismatch = "Text file doesn't match the connected projector.";
const std::string kLinkFailed = "Communication with projector failed.";

struct ModelCheck {
    explicit ModelCheck(ProjectorOptions options, std::string upImagePath) : rig(std::move(options))
    {
        rig.tool.state.package.UpImagePath = std::move(upImagePath);
        rig.tool.state.ListFileValid = true;
    }
    SimRig rig;
    bool run() { return CheckModel(rig.tool); }
    bool upgrade() const { return rig.view.enabled(Control::cmdUpgradeSW); }
    bool openFile() const { return rig.view.enabled(Control::cmdOpenFile1); }
};

} // namespace

TEST(CheckModel, MatchingModelEnablesUpgradeAndOpenFile)
{
    ModelCheck c({.modelName = "QT2416"}, "/fw/QT2416/up.bin");
    c.rig.view.setEnabled(Control::cmdUpgradeSW, false);
    EXPECT_TRUE(c.run());
    EXPECT_TRUE(c.upgrade());
    EXPECT_TRUE(c.openFile());
    EXPECT_TRUE(c.rig.view.messages().empty());
    EXPECT_EQ(c.rig.port.bytesSent(), "op model.name ?\r");
}

TEST(CheckModel, OtherModelIsAMismatch)
{
    ModelCheck c({.modelName = "QT2416"}, "/fw/up_2436.bin");
    EXPECT_FALSE(c.run());
    EXPECT_EQ(c.rig.view.messageTexts(), std::vector<std::string>{kMismatch});
    EXPECT_EQ(c.rig.view.messages()[0].style, MessageStyle::Critical);
    EXPECT_FALSE(c.upgrade());
    EXPECT_TRUE(c.openFile());
}

TEST(CheckModel, PathNamingTwoModelsIsMatchedOnTheFirstInTableOrder)
{
    // A 1952 projector with a package in a folder named after the 2416.
    ModelCheck c({.modelName = "QT1952"}, "/fw/2416/up_1952.bin");
    EXPECT_FALSE(c.run());
    EXPECT_EQ(c.rig.view.messageTexts(), std::vector<std::string>{kMismatch});

    ModelCheck d({.modelName = "QT2416"}, "/fw/2416/up_1952.bin");
    EXPECT_TRUE(d.run());
}

TEST(CheckModel, ReplyWithoutTheFamilyMarkIsNoAnswer)
{
    ModelCheck c({.modelName = "2416"}, "/fw/2416.bin");
    EXPECT_FALSE(c.run());
    EXPECT_EQ(c.rig.view.messageTexts(), std::vector<std::string>{kLinkFailed});
    EXPECT_FALSE(c.upgrade());
    EXPECT_FALSE(c.openFile());
}

TEST(CheckModel, FamilyMarkInLowerCaseIsNoAnswer)
{
    ModelCheck c({.modelName = "QT2416", .lowerCaseAnswers = true}, "/fw/2416.bin");
    EXPECT_FALSE(c.run());
    EXPECT_EQ(c.rig.view.messageTexts(), std::vector<std::string>{kLinkFailed});
}

TEST(CheckModel, PathWithoutModelNumberAcceptsAnyModelOfTheFamily)
{
    ModelCheck c({.modelName = "QT9999"}, "/fw/generic.bin");
    c.rig.view.setEnabled(Control::cmdUpgradeSW, false);
    EXPECT_TRUE(c.run());
    EXPECT_TRUE(c.upgrade());
    EXPECT_TRUE(c.rig.view.messages().empty());
}

TEST(CheckModel, NoListFileNeverEnablesUpgrade)
{
    ModelCheck c({.modelName = "QT2416"}, "");
    c.rig.tool.state.NoListFile = true;
    c.rig.view.setEnabled(Control::cmdUpgradeSW, false);
    c.rig.view.setEnabled(Control::cmdOpenFile1, false);
    EXPECT_FALSE(c.run());
    EXPECT_TRUE(c.rig.view.messages().empty());
    EXPECT_FALSE(c.upgrade());
    EXPECT_TRUE(c.openFile());
}

TEST(CheckModel, SilentProjectorIsALinkFailureWithBothButtonsOff)
{
    ModelCheck c({.silent = true}, "/fw/2416.bin");
    EXPECT_FALSE(c.run());
    EXPECT_EQ(c.rig.view.messageTexts(), std::vector<std::string>{kLinkFailed});
    EXPECT_FALSE(c.upgrade());
    EXPECT_FALSE(c.openFile());
    EXPECT_EQ(c.rig.port.wire().front().direction, Direction::ToProjector);
}
