#include <gtest/gtest.h>

#include "PackageMaker.h"
#include "SimRig.h"
#include "window/MainWindow.h"
#include "window/Settings.h"

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

// What OK does with the list text (COM1 stored, COM2 held by another
// program, COM3 a projector, the rest missing): the message, the port, the
// dialog and the stored text afterwards.
TEST(PortDialogOk, ListTextsAndWhatTheyLeave)
{
    const std::string kHeld = "COM2 is currently being used by another program.  Please close that program and try again.";
    const std::string kKept = "; kept\r\n[RS232Set]\r\nCOM=1\r\n";
    struct Case {
        std::string typed, message;
        int16_t port;
        bool open;
        std::string stored;
    } cases[] = {
        {"3", "", 3, true, "; kept\r\n[RS232Set]\r\nCOM=3\r\n"},
        {" 3 ", "", 3, true, "; kept\r\n[RS232Set]\r\nCOM= 3 \r\n"},  // stored exactly as shown
        {"abc", "", 1, false, kKept},  // nothing said, but the buttons go off
        {"9", "COM9 is invalid. Please select an available RS232 port.", 1, false, kKept},
        {"2", kHeld, 1, false, kKept},
        {" 2.5 ", kHeld, 1, false, kKept},  // rounds half to even
        {"3.5", "COM3.5 is invalid. Please select an available RS232 port.", 1, false, kKept},  // 4, named as typed
        {"2.5e0", kHeld, 1, false, kKept},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        SimRig rig;
        rig.port.setAvailability(2, PortAvailability::HeldByOther);
        rig.port.setAvailability(3, PortAvailability::Projector);
        fw::testing::writeFile(rig.tool.settingsPath(), kKept);
        Form_Load(rig.tool);
        RS_232_Click(rig.tool);
        rig.view.portList = c.typed;
        RS232_Click(rig.tool);

        EXPECT_EQ(rig.view.messageTexts(), c.message.empty() ? std::vector<std::string>{} : std::vector{c.message});
        EXPECT_EQ(rig.port.commPort(), c.port);
        EXPECT_EQ(rig.port.portOpen(), c.open);
        EXPECT_EQ(rig.view.portDialogVisible(), !c.open);
        EXPECT_EQ(rig.view.enabled(Control::cmdOpenFile1), c.open);
        EXPECT_EQ(rig.view.enabled(Control::cmdTest), c.open);
        EXPECT_FALSE(rig.view.enabled(Control::cmdUpgradeSW));  // no package: OK alone never enables it
        if (!c.message.empty()) {
            EXPECT_EQ(rig.view.portList, "1");  // the previous number is restored
        }
        EXPECT_EQ(fw::testing::readFile(rig.tool.settingsPath()), c.stored);
    }
}


TEST_F(PortDialog, PortThisUserMayNotOpenSaysWhyAndThePreviousIsRestored)
{
    const struct {
        PortAvailability availability;
        std::string message;
    } cases[] = {
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
        EXPECT_EQ(fw::testing::readFile(rig.tool.settingsPath()), "; kept\r\n[RS232Set]\r\nCOM=1\r\n");
    }
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
