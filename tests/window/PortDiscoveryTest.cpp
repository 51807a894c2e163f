#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "FixedDeviceSource.h"
#include "PackageMaker.h"
#include "SimRig.h"
#include "window/MainWindow.h"
#include "window/PortDiscovery.h"
#include "window/Settings.h"

using namespace fw;
using namespace fw::sim;

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
        {"own numbers, then the lowest free",
         {dev("/dev/ttyUSB0"), dev("/dev/ttyS0", 1), dev("/dev/ttyS2", 3)},
         {},
         true,
         {"/dev/ttyS0=1", "/dev/ttyS2=3", "/dev/ttyUSB0=2+"}},
        {"a line counts, and so does its number when its device is absent",
         {dev("/dev/ttyUSB1"), dev("/dev/ttyUSB0")},
         {{1, "/dev/ttyUSB9"}, {2, "/dev/ttyUSB1"}},
         true,
         {"/dev/ttyUSB0=3+", "/dev/ttyUSB1=2"}},
        {"a line giving a device's own number away leaves it a new one",
         {dev("/dev/ttyS0", 1), dev("/dev/ttyUSB0")},
         {{1, "/dev/ttyUSB0"}},
         true,
         {"/dev/ttyS0=2+", "/dev/ttyUSB0=1"}},
        {"a name with spaces",
         {dev("/dev/serial/by-id/usb-FTDI FT232R USB UART-if00")},
         {},
         true,
         {"/dev/serial/by-id/usb-FTDI FT232R USB UART-if00=1+"}},
        {"every number taken", {dev("/dev/ttyUSB0")}, allNumbersTaken(), true, {"/dev/ttyUSB0=0"}},
        {"Windows: each port is its own COMn and nothing is written",
         {dev("COM7", 7), dev("COM3", 3)},
         {{3, "/dev/ttyUSB0"}},
         false,
         {"COM3=3", "COM7=7"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shown(numberDetectedDevices(c.devices, c.lines, c.mapsPorts)), c.expected) << c.name;
}

TEST(PortNumbering, UsbIdIsVendorAndProductInHex)
{
    DetectedDevice d = dev("/dev/ttyUSB0");
    EXPECT_EQ(usbId(d), "");
    d.vendorId = 0x0403;
    d.productId = 0x6001;
    EXPECT_EQ(usbId(d), "0403:6001");
}

namespace {

struct DetectedInDialog : ::testing::Test {
    SimRig rig;
    FixedDeviceSource source{{dev("/dev/ttyS0", 1), dev("/dev/serial/by-id/usb-FTDI FT232R USB UART-if00")}};

    void SetUp() override
    {
        rig.port.setAvailability(2, PortAvailability::Projector);
        fw::testing::writeFile(rig.tool.settingsPath(), "[RS232Set]\r\nCOM=1\r\n");
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
    DetectedPort listed(const std::string& device)
    {
        for (const DetectedPort& p : detectedPorts(rig.tool, source))
            if (p.device.device == device) return p;
        ADD_FAILURE() << device << " not listed";
        return {};
    }
};

const std::string kAdapter = "/dev/serial/by-id/usb-FTDI FT232R USB UART-if00";

} // namespace

TEST_F(DetectedInDialog, PickingANewDeviceWritesItsLineOnlyWhenOkOpensIt)
{
    pickDetectedPort(rig.tool, listed(kAdapter));
    EXPECT_EQ(rig.view.portList, "2");
    EXPECT_EQ(settingsFile(), "[RS232Set]\r\nCOM=1\r\n");  // nothing before OK
    EXPECT_EQ(shown(detectedPorts(rig.tool, source)),
              (std::vector<std::string>{"/dev/serial/by-id/usb-FTDI FT232R USB UART-if00=2+", "/dev/ttyS0=1"}));

    RS232_Click(rig.tool);
    EXPECT_TRUE(rig.port.portOpen());
    EXPECT_EQ(rig.port.commPort(), 2);
    EXPECT_EQ(readPortLines(rig.tool.settingsPath()), (PortLines{{2, kAdapter}}));
    EXPECT_NE(settingsFile().find("[RS232Set]\r\nCOM=2\r\n"), std::string::npos) << settingsFile();
    EXPECT_EQ(shown(detectedPorts(rig.tool, source)),
              (std::vector<std::string>{"/dev/serial/by-id/usb-FTDI FT232R USB UART-if00=2", "/dev/ttyS0=1"}));
}

TEST_F(DetectedInDialog, ADevicePulledOutBeforeOkIsDroppedAndNoLineIsWritten)
{
    pickDetectedPort(rig.tool, listed(kAdapter));
    source.list().pop_back();
    EXPECT_EQ(shown(detectedPorts(rig.tool, source)), std::vector<std::string>{"/dev/ttyS0=1"});
    RS232_Click(rig.tool);
    EXPECT_TRUE(readPortLines(rig.tool.settingsPath()).empty());
}

TEST_F(DetectedInDialog, TypingAnotherNumberAfterThePickWritesNoLine)
{
    pickDetectedPort(rig.tool, listed(kAdapter));
    rig.view.portList = "1";
    RS232_Click(rig.tool);
    EXPECT_EQ(rig.port.commPort(), 1);
    EXPECT_TRUE(readPortLines(rig.tool.settingsPath()).empty());
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
    EXPECT_EQ(settingsFile(), "[RS232Set]\r\nCOM=1\r\n");
}
