#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "PackageMaker.h"
#include "SimRig.h"
#include "shell/MainWindow.h"
#include "shell/Settings.h"

using namespace fw;
using namespace fw::sim;

namespace {

struct PortDialog : ::testing::Test {
    SimRig rig;

    void SetUp() override
    {
        rig.port.setAvailability(2, PortAvailability::HeldByOther);
        rig.port.setAvailability(3, PortAvailability::Projector);
        fw::testing::writeFile(rig.tool.settingsPath(), "; kept\r\n[RS232Set]\r\nCOM=1\r\n");
        Form_Load(rig.tool);
        RS_232_Click(rig.tool);
    }
    std::string settingsFile() const
    {
        std::ifstream in(rig.tool.settingsPath(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void choose(const std::string& text)
    {
        rig.view.portList = text;
        RS232_Click(rig.tool);
    }
    bool threeOff() const
    {
        return !rig.view.enabled(Control::cmdUpgradeSW) && !rig.view.enabled(Control::cmdOpenFile1) &&
               !rig.view.enabled(Control::cmdTest);
    }
};

} // namespace

TEST_F(PortDialog, MenuShowsTheDialogAndClosesTheStoredPort)
{
    EXPECT_TRUE(rig.view.portDialogVisible());
    EXPECT_FALSE(rig.port.portOpen());
    EXPECT_EQ(rig.view.portList, "1");
}

TEST_F(PortDialog, OkOpensTheChosenPortStoresItAndHidesTheDialog)
{
    choose("3");
    EXPECT_TRUE(rig.port.portOpen());
    EXPECT_EQ(rig.port.commPort(), 3);
    EXPECT_FALSE(rig.view.portDialogVisible());
    EXPECT_EQ(settingsFile(), "; kept\r\n[RS232Set]\r\nCOM=3\r\n");
    EXPECT_TRUE(rig.view.enabled(Control::cmdOpenFile1));
    EXPECT_TRUE(rig.view.enabled(Control::cmdTest));
    EXPECT_FALSE(rig.view.enabled(Control::cmdUpgradeSW));  // no package: OK alone never enables it
    EXPECT_TRUE(rig.view.messages().empty());
}

TEST_F(PortDialog, LettersInTheListChangeNothingButSwitchTheButtonsOff)
{
    choose("abc");
    EXPECT_TRUE(rig.view.messages().empty());
    EXPECT_TRUE(threeOff());
    EXPECT_TRUE(rig.view.portDialogVisible());
    EXPECT_FALSE(rig.port.portOpen());
    EXPECT_EQ(settingsFile(), "; kept\r\n[RS232Set]\r\nCOM=1\r\n");
}

TEST_F(PortDialog, PortThatDoesNotExistRestoresThePreviousNumber)
{
    choose("9");
    EXPECT_EQ(rig.view.messageTexts(),
              std::vector<std::string>{"COM9 is invalid. Please select an available RS232 port."});
    EXPECT_EQ(rig.view.portList, "1");
    EXPECT_EQ(rig.port.commPort(), 1);
    EXPECT_TRUE(threeOff());
    EXPECT_FALSE(rig.port.portOpen());
    EXPECT_TRUE(rig.view.portDialogVisible());
    EXPECT_EQ(settingsFile(), "; kept\r\n[RS232Set]\r\nCOM=1\r\n");
}

TEST_F(PortDialog, RefusedPortSaysWhyAndThePreviousIsRestored)
{
    const struct {
        PortAvailability availability;
        std::string message;
    } cases[] = {
        {PortAvailability::HeldByOther,
         "COM2 is currently being used by another program.  Please close that program and try again."},
        {PortAvailability::NotPermitted,
         "COM2 (/dev/ttySIM2) cannot be opened: this user has no permission to use it.  Please add the user to "
         "the dialout group, then log in again."},
        {PortAvailability::HeldOrNotPermitted,
         "COM2 (/dev/ttySIM2) cannot be opened: another program is using it, or this user has no permission to "
         "use it.  Please close that program, or add the user to the dialout group, then log in again."},
    };
    for (const auto& c : cases) {
        rig.port.setAvailability(2, c.availability);
        const std::size_t shown = rig.view.messages().size();
        choose("2");
        ASSERT_EQ(rig.view.messages().size(), shown + 1);
        EXPECT_EQ(rig.view.messages().back().text, c.message);
        EXPECT_EQ(rig.tool.state.statusLine, c.message);
        EXPECT_EQ(rig.view.portList, "1");
        EXPECT_EQ(rig.port.commPort(), 1);
        EXPECT_TRUE(threeOff());
        EXPECT_EQ(settingsFile(), "; kept\r\n[RS232Set]\r\nCOM=1\r\n");
    }
}

TEST_F(PortDialog, FractionsRoundHalfToEven)
{
    choose(" 2.5 ");  // 2, which another program holds
    EXPECT_EQ(rig.view.messages().back().text,
              "COM2 is currently being used by another program.  Please close that program and try again.");
    choose("3.5");  // 4: no such port, and the message names the list text
    EXPECT_EQ(rig.view.messages().back().text, "COM3.5 is invalid. Please select an available RS232 port.");
    choose("2.5e0");
    EXPECT_EQ(rig.port.commPort(), 1);
}

TEST_F(PortDialog, ListTextIsStoredExactlyAsShown)
{
    choose(" 3 ");
    EXPECT_EQ(rig.port.commPort(), 3);
    EXPECT_NE(settingsFile().find("COM= 3 \r\n"), std::string::npos) << settingsFile();
}

TEST_F(PortDialog, HandEditedPortTheSerialLayerRejectsIsReportedFromTheMenu)
{
    fw::testing::writeFile(rig.tool.settingsPath(), "[RS232Set]\r\nCOM=COM3\r\n");
    RS_232_Click(rig.tool);
    EXPECT_EQ(rig.view.messageTexts(),
              std::vector<std::string>{"COM0 is invalid. Please select an available RS232 port."});
    EXPECT_TRUE(threeOff());
}

TEST_F(PortDialog, SuccessfulOkAfterAFailureEnablesOpenFileAndTestAgain)
{
    choose("9");
    ASSERT_TRUE(threeOff());
    choose("3");
    EXPECT_TRUE(rig.view.enabled(Control::cmdOpenFile1));
    EXPECT_TRUE(rig.view.enabled(Control::cmdTest));
}
