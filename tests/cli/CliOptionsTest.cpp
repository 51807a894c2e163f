#include <gtest/gtest.h>

#include <stdexcept>

#include "CliOptions.h"
#include "InternalError.h"

using namespace fw::cli;

TEST(CommandLine, EachCommandTakesItsOwnOptions)
{
    const auto r = parseCommandLine({"upgrade", "--port", "3", "--port", "/dev/pts/3", "--port", "12", "pkg.txt",
                                     "--yes", "--folder", "/opt/fw", "--transcript", "t.log"});
    ASSERT_TRUE(r.options) << r.error;
    EXPECT_EQ(r.options->command, Command::Upgrade);
    EXPECT_EQ(r.options->ports, (std::vector<int>{3, 12}));
    EXPECT_EQ(r.options->portPaths, std::vector<std::string>{"/dev/pts/3"});
    EXPECT_EQ(r.options->listFile, "pkg.txt");
    EXPECT_TRUE(r.options->assumeYes);
    EXPECT_EQ(r.options->folder, "/opt/fw");
    EXPECT_EQ(r.options->transcript, "t.log");

    const auto history = parseCommandLine({"history", "--json", "--last", "20", "--record", "r.jsonl"});
    ASSERT_TRUE(history.options) << history.error;
    EXPECT_EQ(history.options->command, Command::History);
    EXPECT_TRUE(history.options->json);
    EXPECT_EQ(history.options->last, 20u);
    EXPECT_EQ(history.options->record, "r.jsonl");

    // Leading zeros are digits like any other.
    const auto zeros = parseCommandLine({"history", "--last", "007"});
    ASSERT_TRUE(zeros.options) << zeros.error;
    EXPECT_EQ(zeros.options->last, 7u);
    const auto port = parseCommandLine({"test", "--port", "0255"});
    ASSERT_TRUE(port.options) << port.error;
    EXPECT_EQ(port.options->ports, std::vector<int>{255});

    // Help is not an error, also after a command.
    EXPECT_TRUE(parseCommandLine({"--help"}).help);
    EXPECT_TRUE(parseCommandLine({"upgrade", "-h"}).help);
}

TEST(CommandLine, MistakesAreRefusedWithTheirReason)
{
    const std::pair<std::vector<std::string>, std::string> wrong[] = {
        {{}, "no command given"},
        {{"flash", "--port", "1"}, "unknown command: flash"},
        {{"upgrade", "pkg.txt"}, "--port is required"},
        {{"upgrade", "--port", "1"}, "give exactly one list file"},
        {{"upgrade", "--port", "1", "a.txt", "b.txt"}, "give exactly one list file"},
        {{"upgrade", "--port", "0", "a.txt"}, "--port takes a number from 1 to 255 or a device path, not '0'"},
        {{"upgrade", "--port", "256", "a.txt"}, "--port takes a number from 1 to 255 or a device path, not '256'"},
        {{"upgrade", "--port", "1x", "a.txt"}, "--port takes a number from 1 to 255 or a device path, not '1x'"},
        {{"upgrade", "--port", "+3", "a.txt"}, "--port takes a number from 1 to 255 or a device path, not '+3'"},
        {{"upgrade", "--port", "-3", "a.txt"}, "--port takes a number from 1 to 255 or a device path, not '-3'"},
        {{"upgrade", "--port", "2.0", "a.txt"}, "--port takes a number from 1 to 255 or a device path, not '2.0'"},
        {{"upgrade", "--port", " 3", "a.txt"}, "--port takes a number from 1 to 255 or a device path, not ' 3'"},
        {{"upgrade", "--port"}, "--port needs a number"},
        {{"upgrade", "--port", "2", "--port", "2", "a.txt"}, "port 2 given twice"},
        {{"upgrade", "--port", "/dev/pts/3", "--port", "/dev/pts/3", "a.txt"}, "port /dev/pts/3 given twice"},
        {{"test", "--port", "1", "--port", "2"}, "test takes one --port"},
        {{"test", "--port", "1", "--port", "/dev/pts/3"}, "test takes one --port"},
        {{"test"}, "--port is required"},
        {{"check", "a.txt", "--record", "r.jsonl"}, "unknown option: --record"},
        {{"history", "--last", "0"}, "--last takes a number from 1 up, not '0'"},
        {{"history", "--last"}, "--last takes a number from 1 up, not ''"},
        {{"history", "--last", "+5"}, "--last takes a number from 1 up, not '+5'"},
        {{"history", "--last", "99999999999999999999"}, "--last takes a number from 1 up, not '99999999999999999999'"},
        {{"history", "--port", "1"}, "history takes no --port"},
        {{"check"}, "give exactly one list file"},
        {{"check", "a.txt", "--port", "1"}, "check takes no --port"},
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

TEST(InternalError, EndsOnlyItsJobAsFailedWithTheFaultsOwnMessage)
{
    const JobOutcome fault = reportingInternalErrors([]() -> JobOutcome { throw std::out_of_range("vector::at"); });
    EXPECT_FALSE(fault.succeeded);
    EXPECT_EQ(fault.reason,
              "ERROR: Internal program error: vector::at. The operation was stopped. Please report this message.");
}
