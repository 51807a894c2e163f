#include <gtest/gtest.h>

#include "PackageMaker.h"
#include "TempFolder.h"
#include "qt/ProgramFolder.h"

using fw::qt::chooseProgramFolder;

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
