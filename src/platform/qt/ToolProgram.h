#pragma once

#include <memory>
#include <string>

#include "qt/QtEventLoop.h"
#include "qt/QtProcessRunner.h"
#include "qt/QtSerialDevices.h"
#include "qt/AnyPort.h"
#include "qt/VenueWindow.h"
#include "qt/WindowSession.h"
#include "record/ServiceRecord.h"

namespace fw::qt {

// The technician's program as it is wired: settings.ini, the ISP tool and
// its log in the program's own folder; relative image names in list files
// against the folder it was started in; the machine's serial port as
// settings.ini maps it (or the serial server it names); Qt's event loop; QProcess; the windows; and the
// service record in the user's data folder; the venue window on the same.
// Needs the application object to exist.
class ToolProgram {
public:
    ToolProgram();

    WindowSession& session() { return session_; }
    // The window's start-up sequence, then the window is shown. Without the
    // ISP tool in the program folder, the status line says where it belongs.
    void start();
    // The venue window alone with the venue file's rows, as `--venue FILE`
    // starts the program: the main window is neither loaded nor shown, so
    // it opens no port of its own.
    void startVenue(const std::string& venueFile);

    // Made on first use: from the menu item "&Venue", or startVenue.
    VenueWindow& venueWindow();

private:
    std::string programFolder_;
    std::string workingDirectory_;
    AnyPort port_;
    QtEventLoop loop_;
    QtProcessRunner processes_;
    std::unique_ptr<fw::ProcessRunner> ispTool_;  // a Windows build of the tool runs through wine
    QtSerialDevices devices_;
    fw::ServiceRecord record_;  // every test and upgrade, in the user's record
    std::string recordPath_;
    WindowSession session_;
    std::unique_ptr<VenueWindow> venue_;
};

} // namespace fw::qt
