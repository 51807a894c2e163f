#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "job/JobStation.h"
#include "link/TranscriptPort.h"
#include "qt/AnyPort.h"
#include "qt/PortDevice.h"
#include "qt/QtEventLoop.h"
#include "qt/QtProcessRunner.h"
#include "record/ServiceRecord.h"

namespace fw::qt {

// What every projector of one run shares: the program folder, the folder
// relative image names resolve against, the service record, the devices
// behind the port numbers.
struct StationSetup {
    std::string program;  // the front end writing the record: "fwupgrade", kProgramId
    std::string programFolder;
    std::string workingDirectory;
    std::string recordPath;
    PortDeviceOf devices;
    // Every byte sent and received, one line each, when given.
    TranscriptPort::Sink transcript;
    // The projector's label and its venue's name, for the record; empty
    // for a projector that is no venue's.
    std::string label;
    std::string venue;
};

// One projector's job on this machine: its own serial port or serial
// server, Qt's event loop of the thread it is made on, QProcess (a Windows
// build of the ISP tool through wine), and the service record listening.
class QtJobStation final : public fw::JobStation {
public:
    QtJobStation(const StationSetup& setup, fw::UpgradeQuestion& question);
    fw::ProjectorJob& job() override { return *job_; }

private:
    fw::SerialPort& port() { return logged_ ? static_cast<fw::SerialPort&>(*logged_) : serial_; }

    QtEventLoop loop_;
    AnyPort serial_;
    std::optional<fw::TranscriptPort> logged_;
    QtProcessRunner processes_;
    std::unique_ptr<fw::ProcessRunner> ispTool_;
    fw::ServiceRecord record_;
    std::unique_ptr<fw::ProjectorJob> job_;
};

// Stations for every row of a run, each made on its row's own thread; row
// n's projector goes by labels[n] in the record, when there is one.
fw::StationMaker qtStations(StationSetup setup, std::vector<std::string> labels = {});

} // namespace fw::qt
