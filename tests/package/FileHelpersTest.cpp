#include <gtest/gtest.h>

#include <filesystem>

#include "FileHelpersFixture.h"
#include "ground/FileHelpers.h"

using namespace fw;
using fw::test::FileHelpersTest;

TEST_F(FileHelpersTest, FileExistsOnlyForOrdinaryVisibleFiles)
{
    EXPECT_TRUE(FileExists(touch("log.txt")));
    EXPECT_FALSE(FileExists(mkdir("folder")));
    EXPECT_FALSE(FileExists(touchHidden(".hidden")));
    EXPECT_FALSE(FileExists(folder.file("missing.txt")));
    EXPECT_FALSE(FileExists(folder.file("missing/log.txt")));
    EXPECT_FALSE(FileExists(""));
}

TEST_F(FileHelpersTest, FileExistsMatchesWildcardsInTheLastComponent)
{
    mkdir("images.bin");
    touchHidden(".secret.bin");
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
