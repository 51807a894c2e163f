#include <gtest/gtest.h>

#include <sstream>

#include "FixedDeviceSource.h"
#include "PackageMaker.h"
#include "qt/ProjectorPorts.h"
#include "PortsCommand.h"
#include "qt/PortDevice.h"
#include "ground/PortNumbering.h"
#include "TempFolder.h"

using namespace fw::cli;

namespace {

struct PortsCommand : ::testing::Test {
    fw::sim::TempFolder folder;
    std::string settings = folder.file("settings.ini");

    std::string listed(std::vector<fw::DetectedDevice> devices, bool json)
    {
        fw::sim::FixedDeviceSource source(std::move(devices));
        std::ostringstream out;
        listPorts(source, fw::SettingsFile(folder.str()), json, out);
        return out.str();
    }
};

} // namespace

TEST_F(PortsCommand, EachDeviceOnALineWithTheNumberThatReachesItNowAndNoDevicesNoLines)
{
    EXPECT_EQ(listed({}, false) + listed({}, true), "");
    const std::string ftdi = "/dev/serial/by-id/usb-FTDI_FT232R-if00";
    const std::vector<fw::DetectedDevice> devices = {
        {"/dev/ttyUSB1", "CP2102 \"USB\" UART", "Silicon Labs", "A1\\2", 0x10C4, 0xEA60, 0, {}, {}},
        {"/dev/ttyUSB0", "", "", "", {}, {}, 0, {}, {}},  // no number reaches it yet
        {"/dev/ttyS0", "", "", "", {}, {}, 1, {}, {}},
        {ftdi, "FT232R", "FTDI", "", 0x0403, 0x6001, 0, "/dev/ttyUSB2", 16},  // its line names it by its old name
    };
    fw::testing::writeFile(settings, "[Ports]\r\nCOM4=/dev/ttyUSB1\r\nCOM7=/dev/ttyUSB2\r\n");
    EXPECT_EQ(listed(devices, false), "COM7\t" + ftdi + "\tFT232R\tFTDI\t\t0403:6001\t/dev/ttyUSB2\t16 ms\n"
                                      "COM1\t/dev/ttyS0\t\t\t\t\t\t\n"
                                      "-\t/dev/ttyUSB0\t\t\t\t\t\t\n"
                                      "COM4\t/dev/ttyUSB1\tCP2102 \"USB\" UART\tSilicon Labs\tA1\\2\t10c4:ea60\t\t\n");
    EXPECT_EQ(listed({devices[0]}, true),
              "{\"port\":4,\"device\":\"/dev/ttyUSB1\",\"description\":\"CP2102 \\\"USB\\\" UART\","
              "\"manufacturer\":\"Silicon Labs\",\"serial_number\":\"A1\\\\2\",\"usb_id\":\"10c4:ea60\","
              "\"kernel_device\":null,\"latency_timer_ms\":null}\n");
    EXPECT_EQ(listed({devices[3]}, true),
              "{\"port\":7,\"device\":\"" + ftdi + "\",\"description\":\"FT232R\",\"manufacturer\":\"FTDI\","
              "\"serial_number\":\"\",\"usb_id\":\"0403:6001\",\"kernel_device\":\"/dev/ttyUSB2\",\"latency_timer_ms\":16}\n");
    // What a device tells of itself is no trusted text: control bytes escaped, broken UTF-8 replaced byte by byte.
    EXPECT_EQ(listed({{"/dev/ttyUSB5", "noise \xFF\x01\xE2\x82", "\x08\x0C\x1F", "", {}, {}, 0, {}, {}}}, true),
              "{\"port\":null,\"device\":\"/dev/ttyUSB5\",\"description\":\"noise \xEF\xBF\xBD\\u0001\xEF\xBF\xBD\xEF\xBF\xBD\","
              "\"manufacturer\":\"\\u0008\\u000c\\u001f\",\"serial_number\":\"\",\"usb_id\":\"\",\"kernel_device\":null,"
              "\"latency_timer_ms\":null}\n");

    fw::sim::FixedDeviceSource source(devices);
    std::ostringstream out, notes;
    listPorts(source, fw::SettingsFile(folder.str()), false, out, {"ModemManager"}, &notes);
    EXPECT_EQ(notes.str(),
              "fwupgrade: " + ftdi + ": its latency timer is 16 ms, so received bytes reach the program in bursts "
              "that far apart. 1 ms suits a serial line: echo 1 > /sys/bus/usb-serial/devices/ttyUSB2/latency_timer "
              "(as root).\nfwupgrade: ModemManager runs: it opens some USB serial adapters as they appear and may hold "
              "one. If a port is refused or loses bytes, stop it (sudo systemctl stop ModemManager) or remove its "
              "package.\n");
    EXPECT_EQ(listed({devices[1]}, true).rfind("{\"port\":null,", 0), 0u);
}

TEST_F(PortsCommand, PortPathsRunUnderTheirOwnNumberAndLeaveSettingsAlone)
{
    if (!fw::qt::portsMappedBySettings()) GTEST_SKIP() << "port n is the device COMn here";
    fw::testing::writeFile(settings, "[Ports]\r\nCOM1=/dev/ttyUSB9\r\nCOM3=/dev/pts/7\r\n");
    const fw::SettingsFile file(folder.str());
    const auto assigned = fw::qt::assignPortNumbers({"2", "/dev/pts/5", "/dev/pts/7"}, file);
    ASSERT_EQ(assigned.error, "");
    EXPECT_EQ(assigned.numbers, (std::vector<int>{2, 4, 3}));
    const auto deviceOf = fw::qt::runPortDevices(assigned.pathOfPort, file);
    EXPECT_EQ(deviceOf(4), "/dev/pts/5");
    EXPECT_EQ(deviceOf(3), "/dev/pts/7");
    EXPECT_EQ(deviceOf(1), "/dev/ttyUSB9");
    EXPECT_EQ(fw::SettingsFile(folder.str()).portDevices(), (fw::PortLines{{1, "/dev/ttyUSB9"}, {3, "/dev/pts/7"}}));

    // --port 3 and the path it maps to; COM2 and 2
    EXPECT_EQ(fw::qt::assignPortNumbers({"COM3", "/dev/pts/7"}, file).error, "port /dev/pts/7 is COM3, given twice");
    EXPECT_EQ(fw::qt::assignPortNumbers({"COM2", "2"}, file).error, "port 2 given twice");
}
