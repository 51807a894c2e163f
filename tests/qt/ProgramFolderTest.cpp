#include <gtest/gtest.h>

#include "PackageMaker.h"
#include "TempFolder.h"
#include "qt/PortDevice.h"
#include "qt/ProgramFolder.h"

using fw::qt::chooseProgramFolder;
using fw::qt::settingsPortDevices;

TEST(ProgramFolder, APortableCopyKeepsItsOwnFolderAnInstalledOneUsesTheUsersDataFolder)
{
    const std::string userData = "/home/tech/.local/share/firmware-upgrade-tool";
    for (const auto& [beside, portable] : std::vector<std::pair<std::string, bool>>{
             {"", false}, {"settings.ini", true}, {"gf9450isp.exe", true}, {"log.txt", false}}) {
        SCOPED_TRACE(beside);
        fw::sim::TempFolder executable;
        if (!beside.empty()) fw::testing::writeFile(executable.file(beside), "x");
        EXPECT_EQ(chooseProgramFolder(executable.str(), userData), portable ? executable.str() : userData);
    }
}

TEST(PortDevice, SettingsMapNumbersToDevicesAtEachOpenAndTheRestAreTtySFromZero)
{
    fw::sim::TempFolder folder;
    const std::string settings = folder.file("settings.ini");
    const auto deviceOf = settingsPortDevices(fw::SettingsFile(folder.str()));
    EXPECT_EQ(deviceOf(1), "/dev/ttyS0");  // no file yet

    fw::testing::writeFile(settings, "[RS232Set]\r\nCOM=1\r\n[Ports]\r\nCOM1=/dev/ttyUSB0\r\nCOM12 = /dev/pts/7 \r\n");
    EXPECT_EQ(deviceOf(1), "/dev/ttyUSB0");  // an edited mapping counts at the next open
    EXPECT_EQ(deviceOf(12), "/dev/pts/7");
    EXPECT_EQ(deviceOf(3), "/dev/ttyS2");
    EXPECT_EQ(deviceOf(0), "");
}
