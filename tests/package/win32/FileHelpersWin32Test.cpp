#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <windows.h>

#include "TempFolder.h"
#include "PackageMaker.h"
#include "ground/FileHelpers.h"
#include "ground/ProfileFile.h"

using namespace fw;
using fw::sim::TempFolder;

namespace {

std::string systemShortPath(const std::string& path)
{
    char buffer[MAX_PATH] = {};
    const DWORD length = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string{};
}

bool isShortName(const std::string& name)
{
    const auto dot = name.find('.');
    const std::string base = name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    return !base.empty() && base.size() <= 8 && extension.size() <= 3 && name.find(' ') == std::string::npos;
}

} // namespace

TEST(ShortNames, LongNamesWithBlanksBecomeTheSystemsShortNames)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.path() / "Program Files\\Scaler Images v1.1");
    const std::string image = folder.file("Program Files\\Scaler Images v1.1\\QT2416 scaler image.bin");
    std::ofstream(image) << "x";

    const std::string shortPath = GetShortNameFromLongName(image);
    EXPECT_EQ(shortPath, systemShortPath(image));
    EXPECT_EQ(shortPath.find(' '), std::string::npos);
    std::string rest = shortPath.substr(3);  // after "C:\"
    for (std::size_t at; (at = rest.find('\\')) != std::string::npos; rest = rest.substr(at + 1))
        EXPECT_TRUE(isShortName(rest.substr(0, at))) << rest.substr(0, at);
    EXPECT_TRUE(isShortName(rest)) << rest;
    std::string content;
    std::ifstream(shortPath) >> content;
    EXPECT_EQ(content, "x");  // the short form names the same file
    EXPECT_EQ(GetShortNameFromLongName(image + "\\"), shortPath);
    EXPECT_EQ(GetShortNameOfEntry(image), rest);
}

// Empty and unseparated paths are the shared conversion's cases (the POSIX
// tests); here only what the system's search adds.
TEST(ShortNames, ShortNameIsEmptyForMissingPaths)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "a");
    EXPECT_EQ(GetShortNameFromLongName(folder.file("a\\missing")), "");
    EXPECT_EQ(GetShortNameOfEntry(folder.file("missing")), "");
}

TEST(GetShortNameFromLongName, DriveIsCopiedAsWrittenAndAloneGivesTheDrive)
{
    EXPECT_EQ(GetShortNameFromLongName("C:\\"), "C:");
    EXPECT_EQ(GetShortNameFromLongName("C:\\windows"), "C:\\windows");
}

// Older copies wrote settings.ini in the ANSI code page (1252 under wine in
// an English locale): such a name reads as its letters, is written back as
// they wrote it, and a name beyond the code page is kept whole as UTF-8.
TEST(StoredNames, SettingsHoldNamesInTheAnsiCodePageWhereTheyFitAndUtf8BeyondIt)
{
    ASSERT_EQ(GetACP(), 1252u);
    TempFolder folder;
    const std::string ini = folder.file("settings.ini");
    fw::testing::writeFile(ini, "[PATH]\r\nFILE=C:\\Pr\xFC" "fung\\list.txt\r\n");
    ProfileFile settings(ini);
    EXPECT_EQ(settings.read("PATH", "FILE"), "C:\\Prüfung\\list.txt");
    ASSERT_TRUE(settings.write("PATH", "FILE", "C:\\Prüfung ä\\list.txt"));
    EXPECT_EQ(fw::testing::readFile(ini), "[PATH]\r\nFILE=C:\\Pr\xFC" "fung \xE4\\list.txt\r\n");
    ASSERT_TRUE(settings.write("PATH", "FILE", "C:\\Пакет ä\\list.txt"));
    EXPECT_EQ(fw::testing::readFile(ini), "[PATH]\r\nFILE=C:\\Пакет ä\\list.txt\r\n");
    EXPECT_EQ(settings.read("PATH", "FILE"), "C:\\Пакет ä\\list.txt");
}
