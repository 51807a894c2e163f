#include <gtest/gtest.h>

#include "FixedDeviceSource.h"
#include "PackageMaker.h"
#include "SimRig.h"
#include "window/MainWindow.h"
#include "window/PortDiscovery.h"
#include "window/PortMessages.h"
#include "window/Settings.h"

using namespace fw;
using namespace fw::sim;
using fw::testing::readFile;

namespace {

const std::string kKept = "; kept\r\n[RS232Set]\r\nCOM=1\r\n";

// The window after start-up with COM1 stored (COM2 held by another program,
// COM3 a projector, the rest missing), the port dialog shown from the menu.
void showDialog(SimRig& rig)
{
    rig.port.setAvailability(2, PortAvailability::HeldByOther);
    rig.port.setAvailability(3, PortAvailability::Projector);
    fw::testing::writeFile(rig.tool.settingsPath(), kKept);
    Form_Load(rig.tool);
    RS_232_Click(rig.tool);
}

struct PortDialog : ::testing::Test {
    SimRig rig;

    void SetUp() override { showDialog(rig); }
};

} // namespace

// The menu shows the dialog with the stored number and closes its port. What
// OK then does with the list text and the state of COM2: the message, the
// port, the dialog, Open File and the test button (each set the other way
// before OK, so that OK must set it) and the stored text afterwards.
TEST(PortDialogOk, ListTextsAndWhatTheyLeave)
{
    const std::string kHeld = "COM2 is currently being used by another program.  Please close that program and try again.";
    const auto held = PortAvailability::HeldByOther;
    struct Case {
        std::string typed;
        PortAvailability port2;
        std::string message;
        int16_t port;
        bool open;
        std::string stored;
    } cases[] = {
        {"3", held, "", 3, true, "; kept\r\n[RS232Set]\r\nCOM=3\r\n"},
        {" 3 ", held, "", 3, true, "; kept\r\n[RS232Set]\r\nCOM= 3 \r\n"},  // stored exactly as shown
        {"abc", held, "", 1, false, kKept},  // no number (tests/ground: which are), nothing said, the buttons off
        {"9", held, "COM9 is invalid. Please select an available RS232 port.", 1, false, kKept},
        {"2", held, kHeld, 1, false, kKept},
        {"2", PortAvailability::NotPermitted,
         "COM2 (/dev/ttySIM2) cannot be opened: this user has no permission to use it.  Please add the user to "
         "the dialout group, then log in again.",
         1, false, kKept},
        {"2", PortAvailability::HeldOrNotPermitted,
         "COM2 (/dev/ttySIM2) cannot be opened: another program is using it, or this user has no permission to "
         "use it.  Please close that program, or add the user to the dialout group, then log in again.",
         1, false, kKept},
        {" 2.5 ", held, kHeld, 1, false, kKept},  // rounds half to even
        {"3.5", held, "COM3.5 is invalid. Please select an available RS232 port.", 1, false, kKept},  // 4, named as typed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        SimRig rig;
        showDialog(rig);
        ASSERT_TRUE(rig.view.portDialogVisible());
        EXPECT_FALSE(rig.port.portOpen());
        EXPECT_EQ(rig.view.portList, "1");
        rig.port.setAvailability(2, c.port2);
        rig.view.setEnabled(Control::cmdOpenFile1, !c.open);
        rig.view.setEnabled(Control::cmdTest, !c.open);
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
            EXPECT_EQ(rig.tool.state.statusLine, c.message);
            EXPECT_EQ(rig.view.portList, "1");  // the previous number is restored
        }
        EXPECT_EQ(readFile(rig.tool.settingsPath()), c.stored);
    }
}

TEST_F(PortDialog, HandEditedPortTheSerialLayerRejectsIsReportedFromTheMenu)
{
    fw::testing::writeFile(rig.tool.settingsPath(), "[RS232Set]\r\nCOM=COM3\r\n");
    RS_232_Click(rig.tool);
    EXPECT_EQ(rig.view.messageTexts(),
              std::vector<std::string>{"COM0 is invalid. Please select an available RS232 port."});
    for (Control off : {Control::cmdUpgradeSW, Control::cmdOpenFile1, Control::cmdTest})
        EXPECT_FALSE(rig.view.enabled(off));
}

namespace {

DetectedDevice dev(std::string name, int ownNumber = 0)
{
    DetectedDevice d;
    d.device = std::move(name);
    d.ownNumber = ownNumber;
    return d;
}

// "device=number" for each port, "+" marking a new line.
std::vector<std::string> shown(const std::vector<DetectedPort>& ports)
{
    std::vector<std::string> out;
    for (const DetectedPort& p : ports)
        out.push_back(p.device.device + "=" + std::to_string(p.number) + (p.newLine ? "+" : ""));
    return out;
}

PortLines allNumbersTaken()
{
    PortLines lines;
    for (int n = 1; n <= 255; ++n) lines[n] = "/dev/gone" + std::to_string(n);
    return lines;
}

} // namespace

TEST(PortNumbering, DevicesKeepTheirNumbersAndNewOnesGetTheLowestFree)
{
    const struct {
        const char* name;
        std::vector<DetectedDevice> devices;
        PortLines lines;
        bool mapsPorts;
        std::vector<std::string> expected;
    } cases[] = {
        {"own numbers, then the lowest free", {dev("/dev/ttyUSB0"), dev("/dev/ttyS0", 1), dev("/dev/ttyS2", 3)}, {},
         true, {"/dev/ttyS0=1", "/dev/ttyS2=3", "/dev/ttyUSB0=2+"}},
        {"a line counts, and so does its number when its device is absent", {dev("/dev/ttyUSB1"), dev("/dev/ttyUSB0")},
         {{1, "/dev/ttyUSB9"}, {2, "/dev/ttyUSB1"}}, true, {"/dev/ttyUSB0=3+", "/dev/ttyUSB1=2"}},
        {"a line giving a device's own number away leaves it a new one", {dev("/dev/ttyS0", 1), dev("/dev/ttyUSB0")},
         {{1, "/dev/ttyUSB0"}}, true, {"/dev/ttyS0=2+", "/dev/ttyUSB0=1"}},
        {"every number taken", {dev("/dev/ttyUSB0")}, allNumbersTaken(), true, {"/dev/ttyUSB0=0"}},
        {"Windows: each port is its own COMn and nothing is written", {dev("COM7", 7), dev("COM3", 3)},
         {{3, "/dev/ttyUSB0"}}, false, {"COM3=3", "COM7=7"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shown(numberDetectedDevices(c.devices, c.lines, c.mapsPorts)), c.expected) << c.name;
}

namespace {

const std::string kAdapter = "/dev/serial/by-id/usb-FTDI FT232R USB UART-if00";

// The dialog listing the serial port COM1 and a new USB adapter, which gets
// COM2, here a projector.
struct DetectedInDialog : PortDialog {
    FixedDeviceSource source{{dev("/dev/ttyS0", 1), dev(kAdapter)}};

    void SetUp() override
    {
        PortDialog::SetUp();
        rig.port.setAvailability(2, PortAvailability::Projector);
    }
    DetectedPort listed(const std::string& device)
    {
        for (const DetectedPort& p : detectedPorts(rig.tool, source))
            if (p.device.device == device) return p;
        ADD_FAILURE() << device << " not listed";
        return {};
    }
};

} // namespace

TEST_F(DetectedInDialog, PickingANewDeviceWritesItsLineOnlyWhenOkOpensIt)
{
    pickDetectedPort(rig.tool, listed(kAdapter));
    EXPECT_EQ(rig.view.portList, "2");
    EXPECT_EQ(readFile(rig.tool.settingsPath()), kKept);  // nothing before OK
    EXPECT_EQ(shown(detectedPorts(rig.tool, source)), (std::vector<std::string>{kAdapter + "=2+", "/dev/ttyS0=1"}));

    RS232_Click(rig.tool);
    EXPECT_TRUE(rig.port.portOpen());
    EXPECT_EQ(rig.port.commPort(), 2);
    EXPECT_EQ(rig.tool.settings().portDevices(), (PortLines{{2, kAdapter}}));
    EXPECT_EQ(shown(detectedPorts(rig.tool, source)), (std::vector<std::string>{kAdapter + "=2", "/dev/ttyS0=1"}));
}

// A device pulled out before OK is dropped; a number typed over the pick
// opens that number: neither writes a line.
TEST_F(DetectedInDialog, NoLineIsWrittenForADevicePulledOutOrANumberTypedOverThePick)
{
    pickDetectedPort(rig.tool, listed(kAdapter));
    source.list().pop_back();
    EXPECT_EQ(shown(detectedPorts(rig.tool, source)), std::vector<std::string>{"/dev/ttyS0=1"});
    RS232_Click(rig.tool);
    EXPECT_TRUE(rig.tool.settings().portDevices().empty());

    source.list().push_back(dev(kAdapter));
    RS_232_Click(rig.tool);
    pickDetectedPort(rig.tool, listed(kAdapter));
    rig.view.portList = "1";
    RS232_Click(rig.tool);
    EXPECT_EQ(rig.port.commPort(), 1);
    EXPECT_TRUE(rig.tool.settings().portDevices().empty());
}

TEST_F(DetectedInDialog, ALineThatCannotBeWrittenStopsTheOpenWithAMessage)
{
    source.list().push_back(dev("/dev/ttyUSB0\r\nCOM1=/dev/evil"));  // the file refuses line breaks
    pickDetectedPort(rig.tool, listed("/dev/ttyUSB0\r\nCOM1=/dev/evil"));
    RS232_Click(rig.tool);
    ASSERT_EQ(rig.view.messages().size(), 1u);
    EXPECT_EQ(rig.view.messages()[0].style, MessageStyle::Critical);
    EXPECT_EQ(rig.view.messages()[0].text.rfind("COM3 cannot be given to /dev/ttyUSB0", 0), 0u);
    EXPECT_FALSE(rig.port.portOpen());
    EXPECT_EQ(rig.view.portList, "1");
    EXPECT_EQ(readFile(rig.tool.settingsPath()), kKept);
}

// A device or serial server typed into the device field becomes the chosen
// number's line at OK; a serial server written wrongly is named and nothing
// is written or opened.
TEST_F(PortDialog, TypedDeviceBecomesTheChosenNumbersLine)
{
    const struct {
        std::string typed;
        PortLines lines;
        std::string message;
    } cases[] = {
        {" rfc2217://10.0.0.5:4001 ", {{3, "rfc2217://10.0.0.5:4001"}}, ""},
        {"rfc2217://10.0.0.5", {}, "rfc2217://10.0.0.5 is not a network port: write rfc2217://HOST:PORT or "
                                   "socket://HOST:PORT."},
    };
    for (const auto& c : cases) {
        SimRig fresh;
        showDialog(fresh);
        fresh.view.portList = "3";
        fresh.view.portDevice = c.typed;
        RS232_Click(fresh.tool);
        EXPECT_EQ(fresh.tool.settings().portDevices(), c.lines) << c.typed;
        EXPECT_EQ(fresh.port.portOpen(), c.message.empty()) << c.typed;
        EXPECT_EQ(fresh.view.messages().empty() ? "" : fresh.view.messages().back().text, c.message);
        EXPECT_EQ(fresh.view.portDevice.empty(), c.message.empty()) << c.typed;  // taken, or left to correct
    }
}

// A refused open names the program that holds the device where the system
// tells it, and the group the device belongs to as the one to join.
TEST(RefusedPortMessage, NamesTheHolderOrTheGroupToJoin)
{
    const std::string dev = "COM1 (/dev/ttyUSB0)";
    const struct {
        OpenRefusal refusal;
        std::string holder;
        std::string group;
        std::string message;
    } cases[] = {
        {OpenRefusal::InUse, "minicom (process 4711)", "dialout",
         dev + " is used by minicom (process 4711).  Please close that program and try again."},
        {OpenRefusal::InUseOrPermissionDenied, "minicom (process 4711)", "uucp",
         dev + " is used by minicom (process 4711).  Please close that program and try again."},
        {OpenRefusal::PermissionDenied, "", "uucp",
         dev + " cannot be opened: this user has no permission to use it.  Please add the user to the uucp group, "
               "then log in again."},
        {OpenRefusal::InUseOrPermissionDenied, "", "",
         dev + " cannot be opened: another program is using it, or this user has no permission to use it.  Please "
               "close that program, or add the user to the dialout group, then log in again."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(refusedPortMessage(1, PortError(kPortAlreadyOpen, c.refusal, "/dev/ttyUSB0", c.holder, c.group)),
                  c.message);
}
