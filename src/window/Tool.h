#pragma once

#include <optional>
#include <string>

#include "ground/EventLoop.h"
#include "ground/Events.h"
#include "ground/FileHelpers.h"
#include "ground/ProcessRunner.h"
#include "ground/SerialPort.h"
#include "ground/SettingsFile.h"
#include "ground/WindowState.h"
#include "link/Link.h"
#include "window/View.h"

namespace fw {

class ToldOperation;

// What the handlers of the main window work on: its state, the link to the
// projector (the serial port it owns, the clock and event pump, what was
// received), the view, the process runner and the folders. The entry points
// wire one of these; tests wire another.
struct Tool {
    Tool(SerialPort& port, EventLoop& loop, View& view, ProcessRunner& processes, std::string programFolder,
         std::string workingDirectory);
    Tool(const Tool&) = delete;
    Tool& operator=(const Tool&) = delete;
    ~Tool();

    WindowState state;
    Link link;
    SerialPort& port;  // the link's
    EventLoop& loop;   // the link's
    View& view;
    ProcessRunner& processes;
    // Whoever listens to what happens, beside the view: a front end's
    // printer, the service record.
    EventHub events;
    struct {
        ToldOperation* current = nullptr;  // the innermost operation under way
        Reason nestedReason = Reason::None;
        std::optional<Reason> endingAtNextBox;  // the reason the next box tells
        // The outermost operation a fault of the program broke off: it ends
        // as Unexpected once the box that names the fault is told.
        std::optional<Operation> brokenOff;
    } told;

    // Folder of the program: settings.ini, the ISP tool and its log live here.
    std::string programFolder;
    // Relative image names in list files resolve against this folder, the
    // process's working directory at start.
    std::string workingDirectory;

    // Where the ISP tool runs and leaves its log: the program folder, unless
    // the front end gives each projector a folder of its own.
    std::string ispFolder;

    std::string programFile(const std::string& name) const { return programFolder + kPathSeparator + name; }
    SettingsFile settings() const { return SettingsFile(programFolder); }
    std::string settingsPath() const { return settings().path(); }
};

} // namespace fw
