#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "TempFolder.h"
#include "platform/IspToolRunner.h"
#include "platform/posix/WineLaunch.h"

using namespace fw;
using namespace fw::platform;
namespace fs = std::filesystem;

namespace {

void writeFile(const std::string& path, const std::string& text, bool runnable = false)
{
    std::ofstream(path, std::ios::binary) << text;
    if (runnable) fs::permissions(path, fs::perms::owner_all);
}

std::string readFile(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

struct RecordingRunner final : ProcessRunner {
    ProcessStart start(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string&) override
    {
        started.push_back(program);
        startedWith = arguments;
        return {};
    }
    void stopAll() override {}
    std::vector<std::string> started;
    std::vector<std::string> startedWith;
};

// A wine that records what it is asked to run: every call a line, each
// argument in brackets, in the file "calls" beside the prefix it was given.
constexpr const char* kFakeWine = R"sh(#!/bin/sh
log="${WINEPREFIX%/*}/calls"
case $1 in
wineboot.exe) sleep 0.3; mkdir -p "$WINEPREFIX/dosdevices" ;;
winepath.exe) echo 'Z:\FIRMWA~1\SCALER~1.BIN' ;;
reg.exe) ;;
*) printf 'in %s: ' "$(pwd)" >> "$log" ;;
esac
printf '[%s]' "$@" >> "$log"; echo >> "$log"
)sh";

int runLaunch(const Launch& launch, const std::string& folder)
{
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv{const_cast<char*>(launch.program.c_str())};
        for (const std::string& a : launch.arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (chdir(folder.c_str()) == 0) execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(WineRunner, OnlyAWindowsExecutableGoesToWineAndOnlyAProgramThatRunsIsTakenForWine)
{
    sim::TempFolder bin;
    writeFile(bin.file("gf9450isp.exe"), std::string("MZ\x90\0", 4));
    writeFile(bin.file("script.exe"), "#!/bin/sh\n", true);
    writeFile(bin.file("wine"), "", true);
    writeFile(bin.file("wine-stable"), "", true);
    writeFile(bin.file("wine-unrunnable"), "");
    EXPECT_TRUE(isWindowsExecutable(bin.file("gf9450isp.exe")));
    for (const char* other : {"script.exe", "wine-unrunnable", "missing.exe"})
        EXPECT_FALSE(isWindowsExecutable(bin.file(other))) << other;

    const std::string path = "/nonexistent:" + bin.str();
    EXPECT_EQ(wineProgram("", path), bin.file("wine"));
    EXPECT_EQ(wineProgram("", "/nonexistent"), "");
    EXPECT_EQ(wineProgram("wine-stable", path), bin.file("wine-stable"));
    EXPECT_EQ(wineProgram(bin.file("wine-stable"), ""), bin.file("wine-stable"));
    // A RUNNER= that names nothing runnable is not replaced by the wine in the search path.
    EXPECT_EQ(wineProgram("/opt/wine/bin/wine", path), "");
    EXPECT_EQ(wineProgram("wine-unrunnable", path), "");
}

TEST(WineRunner, TheCoreGetsTheLauncherOrTheMessageWhatToInstall)
{
    sim::TempFolder program;
    writeFile(program.file("gf9450isp.exe"), "MZ");
    writeFile(program.file("wine"), "", true);
    const std::string savedPath = std::getenv("PATH");
    setenv("PATH", program.str().c_str(), 1);
    RecordingRunner direct;
    const auto runner = ispToolRunner(direct, [](int n) { return "/dev/pts/" + std::to_string(n + 4); });
    const std::vector<std::string> items{"-c", "3", "-l", "GF9450_CFI_DRIVER.BIN", "-p", "/fw folder/scaler.bin"};

    runner->start(program.file("gf9450isp.exe"), items, program.file("isp-COM3"));
    ASSERT_EQ(direct.started, std::vector<std::string>{"/bin/sh"});
    const std::vector<std::string> launched(direct.startedWith.begin() + 3, direct.startedWith.end());
    EXPECT_EQ(launched, (std::vector<std::string>{program.file("wineprefix"), program.file("wine"), "3", "/dev/pts/7",
                                                  program.file("gf9450isp.exe"), "-c", "3", "-l",
                                                  "GF9450_CFI_DRIVER.BIN", "-p", "Z:\\fw folder\\scaler.bin"}));

    writeFile(program.file("settings.ini"), "[ISP]\r\nRUNNER=/opt/wine/bin/wine\r\n");
    const ProcessStart refused = runner->start(program.file("gf9450isp.exe"), items, program.str());
    setenv("PATH", savedPath.c_str(), 1);
    EXPECT_EQ(direct.started.size(), 1u);
    EXPECT_FALSE(refused.process);
    EXPECT_EQ(refused.errorCode, 2);
    EXPECT_EQ(refused.failure, "ERROR: Can't start gf9450isp.exe: it is a Windows program, and "
                               "RUNNER=/opt/wine/bin/wine in settings.ini names no program that can be run. Please "
                               "install wine (Debian package \"wine\") and correct or remove RUNNER= in the [ISP] "
                               "section of settings.ini.");
}

TEST(WineRunner, LauncherMakesThePrefixOnceMapsEachPortAndRunsTheToolWithTheShortPath)
{
    sim::TempFolder program;
    writeFile(program.file("wine"), kFakeWine, true);
    writeFile(program.file("wineserver"), "#!/bin/sh\necho \"[wineserver]$*\" >> \"${WINEPREFIX%/*}/calls\"\n", true);
    const std::string prefix = program.file("wineprefix");
    const auto launch = [&](int port) {
        return wineLaunch({program.file("wine"), prefix, port, "/dev/pts/" + std::to_string(port)},
                          program.file("gf9450isp.exe"),
                          {"-c", std::to_string(port), "-p", "/firmware/scaler image.bin"});
    };
    // Two projectors' tools start at once on a prefix not made yet.
    int second = -1;
    std::thread other([&] { second = runLaunch(launch(4), program.str()); });
    EXPECT_EQ(runLaunch(launch(3), program.str()), 0);
    other.join();
    EXPECT_EQ(second, 0);

    const std::string calls = readFile(program.file("calls"));
    // Made once, and on disk before the first tool runs.
    EXPECT_EQ(calls.find("[wineboot.exe][-i]\n[wineserver]-w\n"), calls.rfind("[wineboot.exe]")) << calls;
    for (const char* port : {"3", "4"}) {
        EXPECT_NE(calls.find("[reg.exe][add][HKLM\\Software\\Wine\\Ports][/v][COM" + std::string(port) +
                             "][/t][REG_SZ][/d][/dev/pts/" + port + "][/f]"),
                  std::string::npos)
            << calls;
        EXPECT_NE(calls.find("in " + program.str() + ": [" + program.file("gf9450isp.exe") + "][-c][" + port +
                             "][-p][Z:\\FIRMWA~1\\SCALER~1.BIN]"),
                  std::string::npos)
            << calls;
        EXPECT_EQ(fs::read_symlink(prefix + "/dosdevices/com" + port), "/dev/pts/" + std::string(port));
    }
}
