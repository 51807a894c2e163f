#include <gtest/gtest.h>

#include <stdexcept>

#include "CliOptions.h"
#include "PackageMaker.h"
#include "TempFolder.h"

using namespace fw::cli;

namespace {

CliOptions parsed(const std::vector<std::string>& arguments)
{
    const auto r = parseCommandLine(arguments);
    EXPECT_TRUE(r.options) << r.error;
    return r.options.value_or(CliOptions{});
}

} // namespace

TEST(CommandLine, EachCommandTakesItsOwnOptions)
{
    const CliOptions upgrade = parsed({"upgrade", "--port", "3", "--port", "/dev/pts/3", "--port", "12", "pkg.txt",
                                       "--yes", "--folder", "/opt/fw", "--transcript", "t.log"});
    EXPECT_EQ(upgrade.command, Command::Upgrade);
    EXPECT_EQ(upgrade.projectors, (std::vector<ProjectorArg>{{"", "3"}, {"", "/dev/pts/3"}, {"", "12"}}));
    EXPECT_EQ(upgrade.listFile, "pkg.txt");
    EXPECT_TRUE(upgrade.assumeYes);
    EXPECT_EQ(upgrade.folder, "/opt/fw");
    EXPECT_EQ(upgrade.transcript, "t.log");

    const CliOptions history = parsed({"history", "--json", "--last", "20", "--record", "r.jsonl"});
    EXPECT_EQ(history.command, Command::History);
    EXPECT_TRUE(history.json);
    EXPECT_EQ(history.last, 20u);
    EXPECT_EQ(history.record, "r.jsonl");

    const CliOptions report = parsed({"report", "--record", "r.jsonl", "--id", "0a1b", "--pdf", "Bericht.pdf"});
    EXPECT_EQ(report.command, Command::Report);
    EXPECT_EQ(report.id, "0a1b");
    EXPECT_EQ(report.pdf, "Bericht.pdf");
    EXPECT_EQ(report.html, "");
    const CliOptions lastHtml = parsed({"report", "--last", "12", "--html", "r.html"});
    EXPECT_EQ(lastHtml.last, 12u);
    EXPECT_EQ(lastHtml.html, "r.html");

    // Leading zeros are digits like any other.
    EXPECT_EQ(parsed({"history", "--last", "007"}).last, 7u);
    EXPECT_EQ(parsed({"test", "--port", "0255"}).projectors, (std::vector<ProjectorArg>{{"", "0255"}}));

    // Help is not an error, also after a command.
    EXPECT_TRUE(parseCommandLine({"--help"}).help);
    EXPECT_TRUE(parseCommandLine({"upgrade", "-h"}).help);
}

TEST(CommandLine, MistakesAreRefusedWithTheirReason)
{
    const std::pair<std::vector<std::string>, std::string> wrong[] = {
        {{}, "no command given"},
        {{"flash", "--port", "1"}, "unknown command: flash"},
        {{"upgrade", "pkg.txt"}, "--port or --venue is required"},
        {{"upgrade", "--port", "1"}, "give exactly one list file"},
        {{"upgrade", "--port", "1", "a.txt", "b.txt"}, "give exactly one list file"},
        {{"upgrade", "--port", "0", "a.txt"}, "--port takes a number from 1 to 255 or a device path, not '0'"},
        {{"upgrade", "--port", "256", "a.txt"}, "--port takes a number from 1 to 255 or a device path, not '256'"},
        {{"upgrade", "--port", "1x", "a.txt"}, "--port takes a number from 1 to 255 or a device path, not '1x'"},
        {{"upgrade", "--port", "+3", "a.txt"}, "--port takes a number from 1 to 255 or a device path, not '+3'"},
        {{"upgrade", "--port"}, "--port needs a number"},
        {{"upgrade", "--port", "2", "--port", "2", "a.txt"}, "port 2 given twice"},
        {{"upgrade", "--port", "/dev/pts/3", "--port", "/dev/pts/3", "a.txt"}, "port /dev/pts/3 given twice"},
        {{"upgrade", "--port", "COM2", "--port", "2", "a.txt"}, "port 2 given twice"},
        {{"test"}, "--port or --venue is required"},
        {{"test", "--venue"}, "--venue needs a file name"},
        {{"test", "--venue", "a.ini", "--venue", "b.ini"}, "--venue given twice"},
        {{"test", "--port", "1", "--at-once", "0"}, "--at-once takes a number from 1 up, not '0'"},
        {{"ports", "--one-first"}, "unknown option: --one-first"},
        {{"history", "--venue", "a.ini"}, "unknown option: --venue"},
        {{"check", "a.txt", "--record", "r.jsonl"}, "unknown option: --record"},
        {{"history", "--last", "0"}, "--last takes a number from 1 up, not '0'"},
        {{"history", "--last"}, "--last takes a number from 1 up, not ''"},
        {{"history", "--last", "+5"}, "--last takes a number from 1 up, not '+5'"},
        {{"history", "--last", "99999999999999999999"}, "--last takes a number from 1 up, not '99999999999999999999'"},
        {{"history", "--port", "1"}, "history takes no --port"},
        {{"history", "--id", "0a1b"}, "unknown option: --id"},
        {{"report"}, "give one file to write: --pdf FILE or --html FILE"},
        {{"report", "--pdf", "a.pdf", "--html", "a.html"}, "give one file to write: --pdf FILE or --html FILE"},
        {{"report", "--last", "2", "--id", "0a1b", "--pdf", "a.pdf"}, "give --last or --id, not both"},
        {{"report", "--pdf"}, "--pdf needs a file name"},
        {{"report", "--id", "", "--pdf", "a.pdf"}, "--id needs an id"},
        {{"report", "--json", "--pdf", "a.pdf"}, "unknown option: --json"},
        {{"report", "--port", "1", "--pdf", "a.pdf"}, "report takes no --port"},
        {{"report", "--pdf", "a.pdf", "extra"}, "unexpected argument: extra"},
        {{"check"}, "give exactly one list file"},
        {{"check", "a.txt", "--bogus"}, "unknown option: --bogus"},
        {{"check", "a.txt", "--folder"}, "--folder needs a folder"},
        {{"test", "--port", "1", "--transcript"}, "--transcript needs a file name"},
        {{"check", "a.txt", "--transcript", "t.log"}, "unknown option: --transcript"},
        {{"history", "--transcript", "t.log"}, "unknown option: --transcript"},
        {{"ports", "--port", "1"}, "ports takes no --port"},
        {{"ports", "extra"}, "unexpected argument: extra"},
    };
    for (const auto& [args, reason] : wrong) {
        const auto r = parseCommandLine(args);
        EXPECT_FALSE(r.options) << testing::PrintToString(args);
        EXPECT_EQ(r.error, reason) << testing::PrintToString(args);
    }
}

// --venue puts the file's projectors where it stood among the --port ones.
TEST(CommandLine, AVenuesProjectorsTakeTheirPlaceAmongThePortsGiven)
{
    fw::sim::TempFolder folder;
    const std::string venue = folder.file("hall.ini");
    fw::testing::writeFile(venue, "[Venue]\r\nNAME=Hall A\r\n[Projectors]\r\nLeft stack=COM11\r\nBooth=/dev/ttyUSB0\r\n");
    auto r = parseCommandLine({"upgrade", "--port", "3", "--venue", venue, "--port", "4", "--one-first", "--at-once",
                               "2", "pkg.txt"});
    ASSERT_TRUE(r.options) << r.error;
    EXPECT_TRUE(r.options->oneFirst);
    EXPECT_EQ(r.options->atOnce, 2u);
    ASSERT_EQ(takeVenue(*r.options), std::nullopt);
    EXPECT_EQ(r.options->venueName, "Hall A");
    EXPECT_EQ(r.options->projectors, (std::vector<ProjectorArg>{
                                         {"", "3"}, {"Left stack", "COM11"}, {"Booth", "/dev/ttyUSB0"}, {"", "4"}}));

    auto twice = parseCommandLine({"test", "--port", "11", "--venue", venue});
    ASSERT_TRUE(twice.options);
    EXPECT_EQ(takeVenue(*twice.options), "port 11 is given by --port and by " + venue + " (Left stack)");

    fw::testing::writeFile(venue, "[Projectors]\r\nLeft stack\r\n");
    auto bad = parseCommandLine({"test", "--venue", venue});
    ASSERT_TRUE(bad.options);
    EXPECT_EQ(takeVenue(*bad.options), venue + ": line 2: no \"=\" between the projector's label and its port");
}
