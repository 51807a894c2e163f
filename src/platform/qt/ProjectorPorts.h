#pragma once

#include <map>
#include <string>
#include <vector>

#include "ground/SettingsFile.h"
#include "qt/PortDevice.h"

namespace fw::qt {

// The port numbers the projectors of one run go by.
struct PortAssignment {
    std::vector<int> numbers;                // one for each port given, in order
    std::map<int, std::string> pathOfPort;   // the numbers device paths and serial servers run under
    std::string error;                       // one line, when the ports cannot be used together
};

// Each port as --port or a venue file writes it: a number (3, COM3) is
// itself; a device path or serial server takes the number settings.ini
// already maps to it, else the platform's own number for it, else the
// lowest number that reaches nothing and is not given. settings.ini is
// not written. A port given twice, or a path whose number is given as well,
// is an error.
PortAssignment assignPortNumbers(const std::vector<std::string>& ports, const fw::SettingsFile& settings);

// Port numbers to devices for this run: the paths given, then settings.ini.
PortDeviceOf runPortDevices(std::map<int, std::string> pathOfPort, const fw::SettingsFile& settings);

} // namespace fw::qt
