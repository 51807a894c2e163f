// settings.ini and the venue file: read from any bytes and written by the
// same code, every other byte of the file kept.
#include <gtest/gtest.h>

#include <filesystem>

#include "PackageMaker.h"
#include "TempFolder.h"
#include "TestPlatform.h"
#include "ground/PortForms.h"
#include "ground/ProfileFile.h"
#include "ground/VenueFile.h"

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

// The venue file: each bad line named by its number, never written over a
// file that could not be read as one.
TEST(VenueFile, ProjectorsComeInTheOrderOfTheirLinesWithTheirPortsAsWritten)
{
    const auto reading = readVenueText("\xEF\xBB\xBF; hall A, as wired in 2024\r\n[Venue]\r\nNAME = Hall A \r\n"
                                       "[Projectors]\r\nLeft stack=rfc2217://10.0.4.21:4001\r\n\r\n"
                                       "# the booth's own\r\nRight stack = COM3\r\nBooth=\"/dev/ttyUSB0\"\r\n");
    ASSERT_TRUE(reading.venue) << joinedProblems(reading.problems);
    EXPECT_EQ(reading.venue->name, "Hall A");
    EXPECT_EQ(reading.venue->projectors, (std::vector<VenueProjector>{{"Left stack", "rfc2217://10.0.4.21:4001"},
                                                                      {"Right stack", "COM3"},
                                                                      {"Booth", "/dev/ttyUSB0"}}));
    EXPECT_EQ(readVenueText("").venue, Venue{});
}

TEST(VenueFile, EveryBadLineIsNamedByItsNumberAndTheFileIsNotUsed)
{
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"[Projectors]\nLeft stack\n", {"line 2: no \"=\" between the projector's label and its port"}},
        {"[Projectors]\n=COM3\nBooth=\n",
         {"line 2: no label before the \"=\"", "line 3: no port after the \"=\""}},
        {"[Projectors]\nA=COM0\nB=serial3\nC=rfc2217://host\n",
         {"line 2: the port \"COM0\" is not one: write COMn (n from 1 to 255), a device path such as "
          "/dev/ttyUSB0, or a serial server as rfc2217://HOST:PORT or socket://HOST:PORT",
          "line 3: the port \"serial3\" is not one: write COMn (n from 1 to 255), a device path such as "
          "/dev/ttyUSB0, or a serial server as rfc2217://HOST:PORT or socket://HOST:PORT",
          "line 4: the port \"rfc2217://host\" is not one: write COMn (n from 1 to 255), a device path such as "
          "/dev/ttyUSB0, or a serial server as rfc2217://HOST:PORT or socket://HOST:PORT"}},
        {"[Venue]\nNAME=x\n[Projectors]\nBooth=COM1\n[Other]\n[projectors]\nbooth=COM2\nLeft=1\n",
         {"line 7: the label \"Booth\" is on line 4 already", "line 8: the port \"COM1\" is on line 4 already"}},
    };
    for (const auto& [text, problems] : cases) {
        const VenueReading reading = readVenueText(text);
        EXPECT_FALSE(reading.venue) << text;
        EXPECT_EQ(reading.problems, problems) << text;
    }
}

TEST(VenueFile, ASavedVenueReadsBackAndKeepsTheFilesOtherLines)
{
    TempFolder folder;
    const std::string path = folder.file("hall.ini");
    writeFile(path, "; Hall A\r\n[Venue]\r\nNAME=Hall A\r\n[Projectors]\r\nOld=COM9\r\n\r\n[Notes]\r\nladder=yes\r\n");
    const Venue venue{"Hall A (north)", {{"Left stack", "rfc2217://10.0.4.21:4001"}, {"Booth", "COM3"}}};
    ASSERT_EQ(writeVenueFile(path, venue), "");
    EXPECT_EQ(readFile(path), "; Hall A\r\n[Venue]\r\nNAME=Hall A (north)\r\n[Projectors]\r\n"
                              "Left stack=rfc2217://10.0.4.21:4001\r\nBooth=COM3\r\n\r\n[Notes]\r\nladder=yes\r\n");
    EXPECT_EQ(readVenueFile(path).venue, venue);

    const std::string fresh = folder.file("new.ini");
    ASSERT_EQ(writeVenueFile(fresh, {"", {{"Booth", "/dev/ttyUSB0"}}}), "");
    EXPECT_EQ(readFile(fresh), "[Projectors]\r\nBooth=/dev/ttyUSB0\r\n");
}

TEST(VenueFile, NothingIsWrittenOverAFileThatIsNotAVenueOrForAVenueThatWouldNotReadBack)
{
    TempFolder folder;
    const std::string path = folder.file("hall.ini");
    const std::string broken = "[Projectors]\r\nLeft stack rfc2217://10.0.4.21:4001\r\n";
    writeFile(path, broken);
    EXPECT_EQ(writeVenueFile(path, {"", {{"Booth", "COM3"}}}),
              "it holds lines that are not a venue's, and is left as it is: line 2: no \"=\" between the "
              "projector's label and its port");
    EXPECT_EQ(readFile(path), broken);

    std::filesystem::create_directory(folder.file("folder.ini"));
    EXPECT_EQ(writeVenueFile(folder.file("folder.ini"), {"", {{"Booth", "COM3"}}}), "the file cannot be read");

    const std::string fresh = folder.file("fresh.ini");
    EXPECT_EQ(writeVenueFile(fresh, {"", {{"Left=Right", "COM3"}, {"booth", "COM4"}, {"Booth", "4"}}}),
              "projector 1: the label \"Left=Right\" cannot be written: a label is not empty, holds no \"=\" and "
              "does not begin with \"[\", \";\" or \"#\"; projector 3: the label \"booth\" is on line 2 already; "
              "projector 3: the port \"COM4\" is on line 2 already");
    EXPECT_FALSE(std::filesystem::exists(fresh));
}

TEST(PortForms, APortIsANumberADevicePathOrASerialServer)
{
    const std::pair<const char*, PortForm> cases[] = {
        {"COM3", PortForm::Number},       {"com255", PortForm::Number},          {"12", PortForm::Number},
        {"COM0", PortForm::Unknown},      {"COM256", PortForm::Unknown},         {"COM+3", PortForm::Unknown},
        {"/dev/ttyUSB0", PortForm::DevicePath}, {"\\\\.\\COM10", PortForm::DevicePath}, {"/", PortForm::Unknown},
        {"rfc2217://10.0.4.21:4001", PortForm::Network}, {"socket://[::1]:7000", PortForm::Network},
        {"rfc2217://host", PortForm::Unknown}, {"ttyUSB0", PortForm::Unknown},   {"", PortForm::Unknown},
        {"-3", PortForm::Unknown},        {"2.0", PortForm::Unknown},            {" 3", PortForm::Unknown},
    };
    for (const auto& [text, form] : cases) EXPECT_EQ(portFormOf(text), form) << text;
    EXPECT_EQ(portNumberOf("com07"), 7);
}
