#include <gtest/gtest.h>

#include <fstream>

#include "TempFolder.h"
#include "qt/PortDevice.h"

using fw::qt::settingsPortDevices;

TEST(PortDevice, SettingsMapNumbersToDevicesAndTheRestAreTtySFromZero)
{
    fw::sim::TempFolder folder;
    const std::string settings = folder.file("settings.ini");
    std::ofstream(settings) << "[RS232Set]\r\nCOM=1\r\n[Ports]\r\nCOM1=/dev/ttyUSB0\r\nCOM12 = /dev/pts/7 \r\n";
    const auto deviceOf = settingsPortDevices(settings);

    EXPECT_EQ(deviceOf(1), "/dev/ttyUSB0");
    EXPECT_EQ(deviceOf(12), "/dev/pts/7");
    EXPECT_EQ(deviceOf(3), "/dev/ttyS2");
    EXPECT_EQ(deviceOf(0), "");
    EXPECT_EQ(deviceOf(-4), "");
}

TEST(PortDevice, AnEditedMappingCountsAtTheNextOpen)
{
    fw::sim::TempFolder folder;
    const std::string settings = folder.file("settings.ini");
    const auto deviceOf = settingsPortDevices(settings);
    EXPECT_EQ(deviceOf(2), "/dev/ttyS1");  // no file yet
    std::ofstream(settings) << "[Ports]\nCOM2=/dev/ttyACM0\n";
    EXPECT_EQ(deviceOf(2), "/dev/ttyACM0");
}
