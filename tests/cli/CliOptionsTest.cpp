#include <gtest/gtest.h>

#include "CliOptions.h"

using namespace fw::cli;

namespace {

ParseResult parse(std::vector<std::string> args) { return parseCommandLine(args); }

} // namespace

TEST(CommandLine, UpgradeTakesPortsAListFileAndItsOptions)
{
    const auto r = parse({"upgrade", "--port", "3", "--port", "12", "pkg.txt", "--yes", "--folder", "/opt/fw",
                          "--transcript", "t.log"});
    ASSERT_TRUE(r.options) << r.error;
    EXPECT_EQ(r.options->command, Command::Upgrade);
    EXPECT_EQ(r.options->ports, (std::vector<int>{3, 12}));
    EXPECT_EQ(r.options->listFile, "pkg.txt");
    EXPECT_TRUE(r.options->assumeYes);
    EXPECT_EQ(r.options->folder, "/opt/fw");
    EXPECT_EQ(r.options->transcript, "t.log");
}

TEST(CommandLine, MistakesAreUsageErrorsWithAReason)
{
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"flash", "--port", "1"},
        {"upgrade", "pkg.txt"},                         // no port
        {"upgrade", "--port", "1"},                     // no list file
        {"upgrade", "--port", "1", "a.txt", "b.txt"},   // two list files
        {"upgrade", "--port", "0", "a.txt"},            // no COM0
        {"upgrade", "--port", "256", "a.txt"},
        {"upgrade", "--port", "1x", "a.txt"},
        {"upgrade", "--port", "2", "--port", "2", "a.txt"},
        {"test", "--port", "1", "--port", "2"},
        {"test"},
        {"check"},
        {"check", "a.txt", "--port", "1"},
        {"check", "a.txt", "--bogus"},
        {"upgrade", "--port"},
        {"upgrade", "--port", "/dev/pts/3", "--port", "/dev/pts/3", "a.txt"},
        {"test", "--port", "1", "--port", "/dev/pts/3"},
        {"ports", "--port", "1"},
        {"ports", "extra"},
        {"test", "--port", "1", "--json"},
    };
    for (const auto& args : wrong) {
        const auto r = parse(args);
        EXPECT_FALSE(r.options) << testing::PrintToString(args);
        EXPECT_FALSE(r.error.empty()) << testing::PrintToString(args);
        EXPECT_EQ(r.error.find('\n'), std::string::npos);
    }
}

TEST(CommandLine, HelpIsNotAnError)
{
    EXPECT_TRUE(parse({"--help"}).help);
    EXPECT_TRUE(parse({"upgrade", "-h"}).help);
}

TEST(CommandLine, PortsTakesJsonAndPortTakesADevicePath)
{
    const auto ports = parse({"ports", "--json", "--folder", "/opt/fw"});
    ASSERT_TRUE(ports.options) << ports.error;
    EXPECT_EQ(ports.options->command, Command::Ports);
    EXPECT_TRUE(ports.options->json);

    const auto paths = parse({"upgrade", "--port", "/dev/pts/3", "--port", "2", "a.txt"});
    ASSERT_TRUE(paths.options) << paths.error;
    EXPECT_EQ(paths.options->portPaths, std::vector<std::string>{"/dev/pts/3"});
    EXPECT_EQ(paths.options->ports, std::vector<int>{2});
}
