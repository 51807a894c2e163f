#include <gtest/gtest.h>

#include "PackageMaker.h"
#include "TempFolder.h"
#include "qt/ProgramFolder.h"

using fw::qt::chooseProgramFolder;

TEST(ProgramFolder, APortableCopyKeepsItsOwnFolderAnInstalledOneUsesTheUsersDataFolder)
{
    const std::string userData = "/home/tech/.local/share/firmware-upgrade-tool";
    const struct {
        const char* beside;
        bool portable;
    } cases[] = {{"", false}, {"settings.ini", true}, {"gf9450isp.exe", true}, {"log.txt", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.beside);
        fw::sim::TempFolder executable;
        if (*c.beside) fw::testing::writeFile(executable.file(c.beside), "x");
        EXPECT_EQ(chooseProgramFolder(executable.str(), userData), c.portable ? executable.str() : userData);
    }
}
