#include <gtest/gtest.h>

#include <filesystem>

#include "TempFolder.h"
#include "ground/FileHelpers.h"

using namespace fw;
using fw::sim::TempFolder;

// Linux and macOS keep no short names: a path converts to itself.

TEST(ShortNames, ShortNameOfAnExistingPathIsThePathItself)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.path() / "Program Files/Tool v1.1");
    const std::string tool = folder.file("Program Files/Tool v1.1");
    EXPECT_EQ(GetShortNameFromLongName(tool), tool);
    EXPECT_EQ(GetShortNameFromLongName(tool + "/"), tool);  // trailing separator dropped
    EXPECT_EQ(GetShortNameOfEntry(tool), "Tool v1.1");
}

TEST(ShortNames, ShortNameIsEmptyForMissingEmptyOrUnseparatedPaths)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "a");
    EXPECT_EQ(GetShortNameFromLongName(folder.file("a/missing")), "");
    EXPECT_EQ(GetShortNameFromLongName(folder.str() + "//a"), "");
    EXPECT_EQ(GetShortNameFromLongName("//tmp"), "");
    EXPECT_EQ(GetShortNameFromLongName("scaler.bin"), "");
    EXPECT_EQ(GetShortNameOfEntry(folder.file("missing")), "");
}

TEST(GetShortNameFromLongName, RootAloneGivesTheTextBeforeItsSeparator)
{
    // As C:\ gives C:, so that root + "/" + name still names a file under the root.
    EXPECT_EQ(GetShortNameFromLongName("/"), "");
    EXPECT_EQ(GetShortNameFromLongName("/tmp"), "/tmp");
}
