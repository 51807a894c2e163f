#pragma once

#include <cstdint>
#include <string>

#include "ground/FirmwarePackage.h"

namespace fw {

// The main window's state, shared by every operation. One object, created
// with the window; nothing here is a global.
struct WindowState {
    bool DownloadBusy = false;   // a download runs: closing the window asks first
    bool ListFileValid = false;  // the selected list file passed every check
    bool NoListFile = false;     // no list-file path is known
    int32_t ElapsedSeconds = 0;  // counted by the one-second clock
    int operationsRunning = 0;   // a test, upgrade or scaler flash is under way

    std::string statusLine;      // the never-shown status bar's one line
    std::string listFilePath;    // the path box: the one caption the logic reads back

    int16_t PreviousPort = 0;    // port dialog: the number in force at the last OK
    // Port dialog: a detected device picked under a new number; its "Ports"
    // line is written by OK. Number 0 when there is none.
    int pickedPortNumber = 0;
    std::string pickedPortDevice;

    FirmwarePackage package;
};

} // namespace fw
