#include <gtest/gtest.h>

#include <filesystem>

#include "PackageMaker.h"
#include "TempFolder.h"
#include "TestPlatform.h"
#include "ground/ProfileFile.h"

using namespace fw;
using fw::sim::TempFolder;
using fw::testing::readFile;
using fw::testing::writeFile;
using fw::testing::canMakeLinks;

namespace {

struct ProfileFileTest : ::testing::Test {
    TempFolder folder;
    std::string path = folder.file("settings.ini");
    ProfileFile ini{path};
};

} // namespace

// The differential test excuses most files with a byte-order mark (their
// 8-bit bytes read differently on Windows), so the mark is pinned here.
TEST(ProfileText, ByteOrderMarkBeforeTheFirstSectionIsSkipped)
{
    EXPECT_EQ(profileValue("\xEF\xBB\xBF[RS232Set]\r\nCOM=4\r\n", "RS232Set", "COM"), "4");
}

TEST(ProfileText, NewKeysAndSectionsTakeTheFilesLineEnds)
{
    struct Case {
        std::string before, section, key, value, after;
    } cases[] = {
        {"[Ports]\nCOM1=/dev/ttyUSB0\n\n[PATH]\nFILE=/x\n", "Ports", "COM2", "/dev/pts/5",
         "[Ports]\nCOM1=/dev/ttyUSB0\nCOM2=/dev/pts/5\n\n[PATH]\nFILE=/x\n"},
        {"[Ports]\nCOM1=/dev/ttyUSB0", "RS232Set", "COM", "1", "[Ports]\nCOM1=/dev/ttyUSB0\n[RS232Set]\nCOM=1\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(withProfileValue(c.before, c.section, c.key, c.value), c.after) << c.before;
}

TEST_F(ProfileFileTest, MissingFileReadsEmptyAndIsCreatedOnWrite)
{
    EXPECT_EQ(ini.read("PATH", "FILE"), "");
    ASSERT_TRUE(ini.write("PATH", "FILE", "/home/tech/pkg/list.txt"));
    ASSERT_TRUE(ini.write("RS232Set", "COM", "3"));
    EXPECT_EQ(readFile(path), "[PATH]\r\nFILE=/home/tech/pkg/list.txt\r\n[RS232Set]\r\nCOM=3\r\n");
}

TEST_F(ProfileFileTest, ReplacingAValueKeepsEveryOtherByte)
{
    const std::string before = "; written by hand\r\n[RS232Set]\r\nCom = 07\r\n\r\n[PATH]\r\nFILE=C:\\old\\list.txt\r\n"
                               "[Ports]\r\nCOM1=/dev/ttyUSB0\r\n";
    writeFile(path, before);
    ASSERT_TRUE(ini.write("rs232set", "COM", "12"));
    EXPECT_EQ(readFile(path), "; written by hand\r\n[RS232Set]\r\nCom =12\r\n\r\n[PATH]\r\nFILE=C:\\old\\list.txt\r\n"
                           "[Ports]\r\nCOM1=/dev/ttyUSB0\r\n");
    ASSERT_TRUE(ini.write("PATH", "FILE", ""));
    EXPECT_EQ(readFile(path), "; written by hand\r\n[RS232Set]\r\nCom =12\r\n\r\n[PATH]\r\nFILE=\r\n"
                           "[Ports]\r\nCOM1=/dev/ttyUSB0\r\n");
    EXPECT_EQ(ini.read("PATH", "FILE"), "");
}

// Any bytes where names are bytes; on Windows the program's texts are UTF-8.
TEST_F(ProfileFileTest, ValuesComeBackAsWritten)
{
    const std::string eightBit = fw::testing::namesMayHoldAnyByte() ? "/d\xE9j\xE0/list.txt" : "/déjà 日本/list.txt";
    for (const std::string& value : {std::string("C:\\Program Files\\a;b\\list.txt"), std::string("/tmp/\"q\""),
                                    std::string("\"quoted\""), std::string("'x'"), eightBit, std::string("a=b=c"),
                                    std::string("[PATH]")}) {
        ASSERT_TRUE(ini.write("PATH", "FILE", value));
        EXPECT_EQ(ini.read("PATH", "FILE"), value);
    }
}

TEST_F(ProfileFileTest, ValueWithLineBreakIsRefusedAndTheFileStaysUnchanged)
{
    const std::string before = "[PATH]\r\nFILE=/a\r\n";
    writeFile(path, before);
    EXPECT_FALSE(ini.write("PATH", "FILE", "/b\r\n[RS232Set]\r\nCOM=9"));
    EXPECT_FALSE(ini.write("PATH", "FILE", "/b\nCOM=9"));
    EXPECT_FALSE(ini.write("PATH", "FILE", "/b\r"));
    EXPECT_FALSE(ini.write("PA]TH", "FILE", "/b"));
    EXPECT_FALSE(ini.write("PATH", "FI=LE", "/b"));
    EXPECT_EQ(readFile(path), before);
}

TEST_F(ProfileFileTest, UnwritableFileGivesFalse)
{
    std::filesystem::create_directory(path);  // a folder where the file should be
    EXPECT_FALSE(ini.write("PATH", "FILE", "/x"));
    EXPECT_EQ(ini.read("PATH", "FILE"), "");
    ProfileFile nowhere(folder.file("missing-folder/settings.ini"));
    EXPECT_FALSE(nowhere.write("PATH", "FILE", "/x"));
}

TEST_F(ProfileFileTest, WriteGoesThroughALinkToTheFileItNames)
{
    const std::string real = folder.file("real.ini");
    if (!canMakeLinks()) GTEST_SKIP() << "this process may not make links";
    writeFile(real, "[PATH]\r\nFILE=/a\r\n");
    std::filesystem::create_symlink(real, path);
    ASSERT_TRUE(ini.write("PATH", "FILE", "/b"));
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(readFile(real), "[PATH]\r\nFILE=/b\r\n");
}
