#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TempFolder.h"
#include "shell/FileHelpers.h"

using namespace fw;
using fw::sim::TempFolder;

namespace {

struct FileHelpersTest : ::testing::Test {
    TempFolder folder;
    std::string touch(const std::string& name)
    {
        const std::string path = folder.file(name);
        std::ofstream(path) << "x";
        return path;
    }
    std::string mkdir(const std::string& name)
    {
        std::filesystem::create_directories(folder.path() / name);
        return folder.file(name);
    }
};

} // namespace

TEST_F(FileHelpersTest, FileExistsOnlyForOrdinaryVisibleFiles)
{
    EXPECT_TRUE(FileExists(touch("log.txt")));
    EXPECT_FALSE(FileExists(mkdir("folder")));
    EXPECT_FALSE(FileExists(touch(".hidden")));
    EXPECT_FALSE(FileExists(folder.file("missing.txt")));
    EXPECT_FALSE(FileExists(folder.file("missing/log.txt")));
    EXPECT_FALSE(FileExists(""));
}

TEST_F(FileHelpersTest, FileExistsMatchesWildcardsInTheLastComponent)
{
    mkdir("images.bin");
    touch(".secret.bin");
    EXPECT_FALSE(FileExists(folder.file("*.bin")));  // only a folder and a hidden file match
    touch("scaler.bin");
    EXPECT_TRUE(FileExists(folder.file("*.bin")));
    EXPECT_TRUE(FileExists(folder.file("sc?ler.*")));
    EXPECT_FALSE(FileExists(folder.file("sc?er.bin")));
    EXPECT_FALSE(FileExists(folder.file("nowhere/*.bin")));
}

TEST(GetTextBefore, CutsAtTheFirstSeparator)
{
    EXPECT_EQ(GetTextBefore("Program Files/Tool", "/"), "Program Files");
    EXPECT_EQ(GetTextBefore("/etc", "/"), "");
    EXPECT_EQ(GetTextBefore("plain", "/"), "plain");
    EXPECT_EQ(GetTextBefore("aXbxc", "x"), "aXb");  // exact letter case
}

TEST_F(FileHelpersTest, ShortNameOfAnExistingPathIsThePathItself)
{
    mkdir("Program Files/Tool v1.1");
    const std::string tool = folder.file("Program Files/Tool v1.1");
    EXPECT_EQ(GetShortNameFromLongName(tool), tool);
    EXPECT_EQ(GetShortNameFromLongName(tool + "/"), tool);  // trailing separator dropped
    EXPECT_EQ(GetShortNameOfEntry(tool), "Tool v1.1");
}

TEST_F(FileHelpersTest, ShortNameIsEmptyForMissingEmptyOrUnseparatedPaths)
{
    mkdir("a");
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

TEST_F(FileHelpersTest, DelFileRemovesFilesButNeverFolders)
{
    const std::string log = touch("log.txt");
    DelFile(log);
    EXPECT_FALSE(std::filesystem::exists(log));
    const std::string images = mkdir("images");
    touch("images/keep.bin");
    DelFile(images);
    EXPECT_TRUE(std::filesystem::exists(folder.file("images/keep.bin")));
    DelFile(folder.file("missing.txt"));  // nothing to report
}
