#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "TempFolder.h"
#include "TestPlatform.h"
#include "shell/ProfileFile.h"

using namespace fw;
using fw::sim::TempFolder;
using fw::test::canMakeLinks;

namespace {

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

struct ProfileFileTest : ::testing::Test {
    TempFolder folder;
    std::string path = folder.file("settings.ini");
    ProfileFile ini{path};
};

} // namespace

TEST_F(ProfileFileTest, MissingFileSectionOrKeyReadsEmpty)
{
    EXPECT_EQ(ini.read("PATH", "FILE"), "");
    put(path, "[RS232Set]\r\nCOM=3\r\n");
    EXPECT_EQ(ini.read("PATH", "FILE"), "");
    EXPECT_EQ(ini.read("RS232Set", "BAUD"), "");
    EXPECT_EQ(ini.read("PATH", "COM"), "");  // a key of another section is not taken
}

TEST_F(ProfileFileTest, WindowsFileReadsTrimmedWithBackslashesAndAnyLetterCase)
{
    put(path, "[RS232Set]\r\nCOM= 07 \r\n\r\n[path]\r\n  file =  C:\\Program Files\\Pkg\\list.txt\t\r\n"
              "[Ports]\r\nCOM1=/dev/ttyUSB0\r\n");
    EXPECT_EQ(ini.read("RS232Set", "COM"), "07");
    EXPECT_EQ(ini.read("PATH", "FILE"), "C:\\Program Files\\Pkg\\list.txt");
    EXPECT_EQ(ini.read("ports", "com1"), "/dev/ttyUSB0");
}

TEST_F(ProfileFileTest, LfFileAndFirstOccurrenceOfAKey)
{
    put(path, "[PATH]\nFILE=/first\nFILE=/second\n[PATH]\nFILE=/third\n");
    EXPECT_EQ(ini.read("PATH", "FILE"), "/first");
}

TEST_F(ProfileFileTest, AtMost1023CharactersOfAValueAreUsed)
{
    put(path, "[PATH]\r\nFILE=" + std::string(1500, 'a') + "\r\n");
    EXPECT_EQ(ini.read("PATH", "FILE"), std::string(1023, 'a'));
}

TEST_F(ProfileFileTest, MatchingQuotesAroundAValueAreDroppedAsWindowsDoes)
{
    put(path, "[PATH]\r\nFILE=\"C:\\a b\\list.txt\"\r\n[X]\r\nA='q\"\r\n");
    EXPECT_EQ(ini.read("PATH", "FILE"), "C:\\a b\\list.txt");
    EXPECT_EQ(ini.read("X", "A"), "'q\"");
}

TEST_F(ProfileFileTest, WriteCreatesTheFileInWindowsLayout)
{
    ASSERT_TRUE(ini.write("PATH", "FILE", "/home/tech/pkg/list.txt"));
    ASSERT_TRUE(ini.write("RS232Set", "COM", "3"));
    EXPECT_EQ(slurp(path), "[PATH]\r\nFILE=/home/tech/pkg/list.txt\r\n[RS232Set]\r\nCOM=3\r\n");
}

TEST_F(ProfileFileTest, ReplacingAValueKeepsEveryOtherByte)
{
    const std::string before = "; written by hand\r\n[RS232Set]\r\nCom = 07\r\n\r\n[PATH]\r\nFILE=C:\\old\\list.txt\r\n"
                               "[Ports]\r\nCOM1=/dev/ttyUSB0\r\n";
    put(path, before);
    ASSERT_TRUE(ini.write("rs232set", "COM", "12"));
    EXPECT_EQ(slurp(path), "; written by hand\r\n[RS232Set]\r\nCom =12\r\n\r\n[PATH]\r\nFILE=C:\\old\\list.txt\r\n"
                           "[Ports]\r\nCOM1=/dev/ttyUSB0\r\n");
    ASSERT_TRUE(ini.write("PATH", "FILE", ""));
    EXPECT_EQ(slurp(path), "; written by hand\r\n[RS232Set]\r\nCom =12\r\n\r\n[PATH]\r\nFILE=\r\n"
                           "[Ports]\r\nCOM1=/dev/ttyUSB0\r\n");
    EXPECT_EQ(ini.read("PATH", "FILE"), "");
}

TEST_F(ProfileFileTest, NewKeyGoesAfterTheLastLineOfItsSectionInTheFilesLineEnds)
{
    put(path, "[Ports]\nCOM1=/dev/ttyUSB0\n\n[PATH]\nFILE=/x\n");
    ASSERT_TRUE(ini.write("Ports", "COM2", "/dev/pts/5"));
    EXPECT_EQ(slurp(path), "[Ports]\nCOM1=/dev/ttyUSB0\nCOM2=/dev/pts/5\n\n[PATH]\nFILE=/x\n");
}

TEST_F(ProfileFileTest, NewSectionAfterALastLineWithoutLineEnd)
{
    put(path, "[Ports]\nCOM1=/dev/ttyUSB0");
    ASSERT_TRUE(ini.write("RS232Set", "COM", "1"));
    EXPECT_EQ(slurp(path), "[Ports]\nCOM1=/dev/ttyUSB0\n[RS232Set]\nCOM=1\n");
}

TEST_F(ProfileFileTest, ValuesComeBackAsWritten)
{
    for (const std::string value : {"C:\\Program Files\\a;b\\list.txt", "/tmp/\"q\"", "\"quoted\"", "'x'",
                                    "/d\xE9j\xE0/list.txt", "a=b=c", "[PATH]"}) {
        ASSERT_TRUE(ini.write("PATH", "FILE", value));
        EXPECT_EQ(ini.read("PATH", "FILE"), value);
    }
}

TEST_F(ProfileFileTest, ValueWithLineBreakIsRefusedAndTheFileStaysUnchanged)
{
    const std::string before = "[PATH]\r\nFILE=/a\r\n";
    put(path, before);
    EXPECT_FALSE(ini.write("PATH", "FILE", "/b\r\n[RS232Set]\r\nCOM=9"));
    EXPECT_FALSE(ini.write("PATH", "FILE", "/b\nCOM=9"));
    EXPECT_FALSE(ini.write("PATH", "FILE", "/b\r"));
    EXPECT_FALSE(ini.write("PA]TH", "FILE", "/b"));
    EXPECT_FALSE(ini.write("PATH", "FI=LE", "/b"));
    EXPECT_EQ(slurp(path), before);
}

TEST_F(ProfileFileTest, UnwritableFileGivesFalse)
{
    std::filesystem::create_directory(path);  // a folder where the file should be
    EXPECT_FALSE(ini.write("PATH", "FILE", "/x"));
    EXPECT_EQ(ini.read("PATH", "FILE"), "");
    ProfileFile nowhere(folder.file("missing-folder/settings.ini"));
    EXPECT_FALSE(nowhere.write("PATH", "FILE", "/x"));
}

TEST(ProfileText, ByteOrderMarkDoesNotHideTheFirstSection)
{
    EXPECT_EQ(profileValue("\xEF\xBB\xBF[RS232Set]\r\nCOM=4\r\n", "RS232Set", "COM"), "4");
}

TEST_F(ProfileFileTest, WriteGoesThroughALinkToTheFileItNames)
{
    const std::string real = folder.file("real.ini");
    if (!canMakeLinks()) GTEST_SKIP() << "this process may not make links";
    put(real, "[PATH]\r\nFILE=/a\r\n");
    std::filesystem::create_symlink(real, path);
    ASSERT_TRUE(ini.write("PATH", "FILE", "/b"));
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(slurp(real), "[PATH]\r\nFILE=/b\r\n");
}
