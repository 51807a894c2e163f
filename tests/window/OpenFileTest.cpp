#include <gtest/gtest.h>

#include "PackageMaker.h"
#include "TestPlatform.h"
#include "window/OpenFile.h"
#include "ground/ProfileFile.h"

using namespace fw;
using namespace fw::testing;

namespace {

struct OpenFileTest : ::testing::Test, PackageFixture {
    ProfileFile settings{rig.tool.settingsPath()};
    void click() { cmdOpenFile1_Click(rig.tool); }
    std::string settingsText() const { return readFile(rig.tool.settingsPath()); }
};

} // namespace

TEST_F(OpenFileTest, ValidPackageForThisProjectorEnablesUpgrade)
{
    rig.view.setEnabled(Control::cmdUpgradeSW, false);
    const std::string listPath = validPackage();
    rig.view.chooseFileNext(listPath);
    click();
    EXPECT_TRUE(upgradeEnabled());
    EXPECT_TRUE(messages().empty());
    EXPECT_FALSE(rig.tool.state.NoListFile);
    EXPECT_EQ(rig.view.caption(Caption::txtTxtSourceFilePath), listPath);
    EXPECT_EQ(settingsText(), "[PATH]\r\nFILE=" + listPath + "\r\n");
    EXPECT_EQ(rig.projector.commands(), std::vector<std::string>{"op model.name ?"});
    EXPECT_EQ(rig.view.fileDialogStarts(), std::vector<std::string>{""});
}

TEST_F(OpenFileTest, EmptyChoiceIsStoredAndDisablesUpgrade)
{
    ASSERT_TRUE(settings.write("PATH", "FILE", "/old/list.txt"));
    rig.tool.state.listFilePath = "/old/list.txt";
    rig.view.chooseFileNext("   ");
    click();
    EXPECT_FALSE(upgradeEnabled());
    EXPECT_TRUE(rig.tool.state.NoListFile);
    EXPECT_EQ(rig.tool.state.listFilePath, "   ");
    EXPECT_EQ(settings.read("PATH", "FILE"), "");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(rig.port.bytesSent(), "");
}

TEST_F(OpenFileTest, CancelChecksTheRememberedFileAgainAndKeepsIt)
{
    const std::string listPath = validPackage();
    writeFile(rig.tool.settingsPath(), "[PATH]\r\nFILE=  " + listPath + "  \r\n");
    rig.view.setEnabled(Control::cmdUpgradeSW, false);
    click();  // nothing chosen: the dialog gives back where it started
    EXPECT_EQ(rig.view.fileDialogStarts(), std::vector<std::string>{listPath});
    EXPECT_EQ(settings.read("PATH", "FILE"), listPath);
    EXPECT_EQ(rig.view.caption(Caption::txtTxtSourceFilePath), listPath);
    EXPECT_TRUE(rig.tool.state.ListFileValid);
    EXPECT_TRUE(upgradeEnabled());
}

TEST_F(OpenFileTest, InvalidPackageShowsOnlyTheChecksMessageAndSendsNothing)
{
    writeImages(262145);
    rig.view.chooseFileNext(list(validListText()));
    click();
    EXPECT_EQ(messages(), std::vector<std::string>{texts::UpSizeIncorrect});
    EXPECT_FALSE(upgradeEnabled());
    EXPECT_EQ(rig.port.bytesSent(), "");
    EXPECT_EQ(rig.port.opens(), 0u);
}

TEST_F(OpenFileTest, DeletedRememberedListFileStillServesAsTheStartingLocation)
{
    ASSERT_TRUE(settings.write("PATH", "FILE", rig.programFolder.file("deleted.txt")));
    const std::string chosen = validPackage();
    rig.view.chooseFileNext(chosen);
    click();
    EXPECT_EQ(rig.view.fileDialogStarts(), std::vector<std::string>{rig.programFolder.file("deleted.txt")});
    EXPECT_EQ(settings.read("PATH", "FILE"), chosen);
}

TEST_F(OpenFileTest, NameThatCannotBeStoredLeavesTheSettingsUnchanged)
{
    if (!namesMayHoldAnyByte()) GTEST_SKIP() << "no file name here holds a line break";
    ASSERT_TRUE(settings.write("PATH", "FILE", "/old/list.txt"));
    const std::string before = settingsText();
    writeImages();
    rig.view.chooseFileNext(list(validListText(), "odd\nname.txt"));
    click();
    EXPECT_EQ(settingsText(), before);
    EXPECT_TRUE(rig.tool.state.ListFileValid);  // the chosen file itself is still checked
}
