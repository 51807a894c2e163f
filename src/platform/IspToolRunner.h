#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ground/ProcessRunner.h"

namespace fw::platform {

// The serial device behind port number n, as the program opens it.
using DeviceOfPort = std::function<std::string(int number)>;

// A tool built for this system finds the device of the port it is given
// (-c N) in this environment variable: the device port N opens here, or the
// local line that relays to a network port.
inline constexpr const char* kPortDeviceVariable = "FWUP_PORT_DEVICE";

// The runner the ISP tool is started through (per-platform file). On Windows
// it starts programs directly. Elsewhere a Windows build of the tool (a file
// that begins with "MZ") runs through wine, in a wine prefix of the program
// folder's own in which COMn is the device that port n opens here; anything
// else is started directly. Stopping goes to the direct runner.
std::unique_ptr<ProcessRunner> ispToolRunner(ProcessRunner& direct, DeviceOfPort deviceOfPort);

} // namespace fw::platform
