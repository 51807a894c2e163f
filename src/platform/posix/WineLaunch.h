#pragma once

#include <string>
#include <vector>

#include "platform/posix/ThirtyTwoBitPrograms.h"

namespace fw::platform {

// The wine prefix the ISP tool runs in, in the program folder; beside it
// "wineprefix.lock" serialises its creation and the port mappings.
inline constexpr const char* kWinePrefixName = "wineprefix";

// True when the file begins as every Windows executable does, with "MZ".
bool isWindowsExecutable(const std::string& path);

// What a Windows executable was built for, as its header says.
enum class WindowsMachine { X86_32, X86_64, Other };
WindowsMachine windowsMachineOf(const std::string& path);

// The program that runs Windows programs here, as a path: the runner
// setting when given (a name without "/" is looked up in the search path),
// else "wine" in the search path. Empty when that names no program this
// user may run.
std::string wineProgram(const std::string& runnerSetting, const std::string& searchPath);

// What decides how a Windows tool can run here.
struct WineFacts {
    std::string wine;             // wineProgram's answer
    std::string wine64Loader;     // wine's own loader of 64-bit programs, where found
    bool wine32Missing = false;   // wine's 32-bit loader is known not to be installed
    ThirtyTwoBit machine = ThirtyTwoBit::Unknown;
};

// Looks them up: the runner, wine's loaders where a wine package puts them
// (Debian: /usr/lib/wine/wine64 and /usr/lib/wine/wine), and the kernel.
WineFacts findWineFacts(const std::string& runnerSetting, const std::string& searchPath);

// The program that runs this tool, or the message that says why none can.
struct WineChoice {
    std::string program;
    std::string failure;
};

// Debian's "wine" starts its 32-bit loader for every program once wine32 is
// installed, and a kernel without 32-bit support refuses that loader: then
// a 64-bit tool runs through wine's 64-bit loader instead. A 32-bit tool on
// such a kernel, or without wine's 32-bit part, cannot run at all, and the
// message says why and what to do. A runner named in the settings is the
// technician's choice and is used as it is.
WineChoice chooseWine(WindowsMachine tool, const std::string& toolName, const std::string& runnerSetting,
                      const WineFacts& facts);

// An absolute path as a program under wine names it: on drive Z:, which a
// wine prefix maps to the root of the file system. "/tmp/a b" is
// "Z:\tmp\a b".
std::string windowsPathOf(const std::string& absolutePath);

// What the technician is told when a Windows tool has nothing to run it.
std::string wineMissingMessage(const std::string& toolName, const std::string& runnerSetting);

struct WineSetup {
    std::string wine;    // the program that runs Windows programs
    std::string prefix;  // the wine prefix, made on first use
    int port = 0;        // COMn the tool opens; 0 maps none
    std::string device;  // what COMn is on this machine
};

struct Launch {
    std::string program;
    std::vector<std::string> arguments;
};

// A start of the Windows tool through wine as one program: a shell that
// makes the prefix on first use, maps COMn to the device, turns the Z:
// paths among the arguments into their short form where wine gives one, and
// then becomes wine running the tool. So the prefix's creation is part of
// the tool's run: bounded by its time limit and stopped with it. Absolute
// paths among the arguments are handed over on drive Z:; the other
// arguments stay as they are.
Launch wineLaunch(const WineSetup& setup, const std::string& tool, const std::vector<std::string>& arguments);

} // namespace fw::platform
