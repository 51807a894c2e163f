#pragma once

#include <string>

#include "link/EventLoop.h"
#include "link/SerialPort.h"
#include "shell/View.h"
#include "shell/WindowState.h"
#include "transfer/ProcessRunner.h"

namespace fw {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// What the operations of the main window work on: its state, the serial
// port it owns, the clock and event pump, the view, the process runner and
// the folders. The entry points wire one of these; tests wire another.
struct Tool {
    Tool(SerialPort& port, EventLoop& loop, View& view, ProcessRunner& processes, std::string programFolder,
         std::string workingDirectory);
    Tool(const Tool&) = delete;
    Tool& operator=(const Tool&) = delete;
    ~Tool();

    WindowState state;
    SerialPort& port;
    EventLoop& loop;
    View& view;
    ProcessRunner& processes;

    // Folder of the program: settings.ini, the ISP tool and its log live here.
    std::string programFolder;
    // Relative image names in list files resolve against this folder, the
    // process's working directory at start.
    std::string workingDirectory;

    // Where the ISP tool runs and leaves its log: the program folder, unless
    // the front end gives each projector a folder of its own.
    std::string ispFolder;

    std::string programFile(const std::string& name) const { return programFolder + kPathSeparator + name; }
    std::string settingsPath() const { return programFile("settings.ini"); }
};

} // namespace fw
