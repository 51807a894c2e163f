#include <gtest/gtest.h>

#include "PackageMaker.h"
#include "TempFolder.h"
#include "qt/ProgramFolder.h"

using fw::qt::chooseProgramFolder;

TEST(ProgramFolder, APortableCopyKeepsItsOwnFolderAnInstalledOneUsesTheUsersDataFolder)
{
    for (const char* marker : {"", "settings.ini", "gf9450isp.exe", "log.txt"}) {
        SCOPED_TRACE(marker);
        fw::sim::TempFolder executable;
        if (*marker) fw::testing::writeFile(executable.file(marker), "x");
        const bool portable = std::string(marker) == "settings.ini" || std::string(marker) == "gf9450isp.exe";
        EXPECT_EQ(chooseProgramFolder(executable.str(), "/home/tech/.local/share/firmware-upgrade-tool"),
                  portable ? executable.str() : "/home/tech/.local/share/firmware-upgrade-tool");
    }
}
