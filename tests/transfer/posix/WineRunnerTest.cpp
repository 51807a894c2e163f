#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

#include "TempFolder.h"
#include "ground/Texts.h"
#include "platform/posix/WineLaunch.h"

using namespace fw::platform;
namespace fs = std::filesystem;

namespace {

void writeFile(const std::string& path, const std::string& text, bool runnable = false)
{
    std::ofstream(path, std::ios::binary) << text;
    if (runnable) fs::permissions(path, fs::perms::owner_all);
}

// A wine and its server that record each call, its arguments in brackets,
// in "calls" beside the prefix they were given.
constexpr const char* kFakeWine = R"sh(#!/bin/sh
case $1 in
wineboot.exe) sleep 0.3 && mkdir -p "$WINEPREFIX/dosdevices" ;;
winepath.exe) echo 'Z:\FIRMWA~1\SCALER~1.BIN' ;;
esac
line=$(printf '[%s]' "${0##*/}" "$@") && echo "$line" >> "${WINEPREFIX%/*}/calls"
)sh";

// A Windows program's first bytes: "MZ", the PE header's place at 0x3c,
// then "PE\0\0" and the machine it is built for.
std::string windowsProgramFor(uint16_t machine)
{
    std::string bytes(0x40, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[0x3c] = 0x40;
    bytes += std::string("PE\0\0", 4);
    bytes += static_cast<char>(machine & 0xff);
    bytes += static_cast<char>(machine >> 8);
    return bytes;
}

int run(const Launch& launch)
{
    std::vector<char*> argv{const_cast<char*>(launch.program.c_str())};
    for (const std::string& a : launch.arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    int status = -1;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) == 0) waitpid(child, &status, 0);
    return status;
}

} // namespace

TEST(WineRunner, OnlyAWindowsExecutableGoesToWineAndOnlyAProgramThatRunsIsTakenForWine)
{
    fw::sim::TempFolder bin;
    writeFile(bin.file("tool.exe"), std::string("MZ\x90\0", 4));
    writeFile(bin.file("wine"), "#!/bin/sh\n", true);
    writeFile(bin.file("wine-unrunnable"), "");
    EXPECT_TRUE(isWindowsExecutable(bin.file("tool.exe")));
    EXPECT_FALSE(isWindowsExecutable(bin.file("wine")));

    const std::string path = "/nonexistent:" + bin.str();
    EXPECT_EQ(wineProgram("", path), bin.file("wine"));
    EXPECT_EQ(wineProgram("", "/nonexistent"), "");
    EXPECT_EQ(wineProgram(bin.file("wine"), ""), bin.file("wine"));
    // A RUNNER= that names nothing runnable is not replaced by the wine in the search path.
    EXPECT_EQ(wineProgram("/opt/wine/bin/wine", path), "");
    EXPECT_EQ(wineProgram("wine-unrunnable", path), "");
}

TEST(WineRunner, PrefixIsMadeOnceForTwoPortsAtOnceAndEachToolGetsItsPortAndTheShortPath)
{
    fw::sim::TempFolder program;
    writeFile(program.file("wine"), kFakeWine, true);
    writeFile(program.file("wineserver"), kFakeWine, true);
    const auto launch = [&](const std::string& port) {
        return wineLaunch({program.file("wine"), program.file("wineprefix"), std::stoi(port), "/dev/pts/" + port},
                          "/p/tool.exe", {"-c", port, "-p", "/firmware/scaler image.bin"});
    };
    int second = -1;
    std::thread other([&] { second = run(launch("4")); });
    EXPECT_EQ(run(launch("3")), 0);
    other.join();
    EXPECT_EQ(second, 0);

    std::ostringstream calls;
    calls << std::ifstream(program.file("calls")).rdbuf();
    // Made once, and its registry on disk before any tool runs.
    EXPECT_EQ(calls.str().find("[wine][wineboot.exe][-i]\n[wineserver][-w]\n"), 0u) << calls.str();
    EXPECT_EQ(calls.str().rfind("[wine][wineboot"), 0u) << calls.str();
    for (const std::string port : {"3", "4"}) {
        for (const std::string& call : {"[wine][reg.exe][add][HKLM\\Software\\Wine\\Ports][/v][COM" + port +
                                           "][/t][REG_SZ][/d][/dev/pts/" + port + "][/f]",
                                       "[wine][/p/tool.exe][-c][" + port + "][-p][Z:\\FIRMWA~1\\SCALER~1.BIN]"})
            EXPECT_NE(calls.str().find(call), std::string::npos) << call << " in " << calls.str();
        EXPECT_EQ(fs::read_symlink(program.file("wineprefix/dosdevices/com" + port)), "/dev/pts/" + port);
    }
}

TEST(WineRunner, ToolsAreToldApartByTheMachineTheirHeaderNames)
{
    fw::sim::TempFolder bin;
    writeFile(bin.file("32.exe"), windowsProgramFor(0x014c));
    writeFile(bin.file("64.exe"), windowsProgramFor(0x8664));
    writeFile(bin.file("arm.exe"), windowsProgramFor(0xaa64));
    writeFile(bin.file("cut.exe"), windowsProgramFor(0x8664).substr(0, 0x42));
    EXPECT_EQ(windowsMachineOf(bin.file("32.exe")), WindowsMachine::X86_32);
    EXPECT_EQ(windowsMachineOf(bin.file("64.exe")), WindowsMachine::X86_64);
    EXPECT_EQ(windowsMachineOf(bin.file("arm.exe")), WindowsMachine::Other);
    EXPECT_EQ(windowsMachineOf(bin.file("cut.exe")), WindowsMachine::Other);
}

// Whichever machine this runs on, the choice is given both answers.
TEST(WineRunner, LoaderIsChosenFromWhatTheMachineRunsAndA32BitToolThatCannotRunSaysWhy)
{
    const std::string wine = "/usr/bin/wine", loader = "/usr/lib/wine/wine64";
    const std::string cannot = std::string(fw::texts::ToolCannotStart) + "gf9450isp.exe" + fw::texts::ToolIs32BitProgram;
    struct Case {
        const char* what;
        WindowsMachine tool;
        ThirtyTwoBit machine;
        bool wine32Missing;
        std::string program;
        std::string failure;
    };
    const Case cases[] = {
        {"64-bit tool, 32-bit programs run", WindowsMachine::X86_64, ThirtyTwoBit::Runs, false, wine, ""},
        {"64-bit tool, no 32-bit programs", WindowsMachine::X86_64, ThirtyTwoBit::DoesNotRun, false, loader, ""},
        {"64-bit tool, not known", WindowsMachine::X86_64, ThirtyTwoBit::Unknown, false, wine, ""},
        {"32-bit tool, 32-bit programs run", WindowsMachine::X86_32, ThirtyTwoBit::Runs, false, wine, ""},
        {"32-bit tool, no 32-bit programs", WindowsMachine::X86_32, ThirtyTwoBit::DoesNotRun, false, "",
         cannot + fw::texts::No32BitSupport},
        {"32-bit tool, no wine32", WindowsMachine::X86_32, ThirtyTwoBit::Runs, true, "",
         cannot + fw::texts::Wine32Missing},
        {"unknown tool, no 32-bit programs", WindowsMachine::Other, ThirtyTwoBit::DoesNotRun, false, wine, ""},
    };
    for (const Case& c : cases) {
        const WineChoice choice = chooseWine(c.tool, "gf9450isp.exe", "", {wine, loader, c.wine32Missing, c.machine});
        EXPECT_EQ(choice.program, c.program) << c.what;
        EXPECT_EQ(choice.failure, c.failure) << c.what;
    }
    // A runner the technician named is used as it is; without wine nothing runs.
    EXPECT_EQ(chooseWine(WindowsMachine::X86_32, "t.exe", "my-wine", {"/opt/my-wine", "", true,
                                                                        ThirtyTwoBit::DoesNotRun}).program,
              "/opt/my-wine");
    EXPECT_EQ(chooseWine(WindowsMachine::X86_64, "t.exe", "", {"", loader, false, ThirtyTwoBit::DoesNotRun}).failure,
              wineMissingMessage("t.exe", ""));
}

// The program asks the kernel as scripts/bootstrap does (scripts/runs-32bit).
TEST(WineRunner, ThisMachinesAnswerAboutThirtyTwoBitProgramsIsTheScriptsAnswer)
{
    const int script = std::system("'" FWUP_SOURCE_DIR "/scripts/runs-32bit'");
    ASSERT_TRUE(WIFEXITED(script));
    EXPECT_EQ(thisMachineRuns32BitPrograms(),
              WEXITSTATUS(script) == 0 ? ThirtyTwoBit::Runs : ThirtyTwoBit::DoesNotRun);
}
