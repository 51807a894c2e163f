#pragma once

#include <memory>

#include "ground/ProcessRunner.h"
#include "qt/PortDevice.h"

namespace fw::qt {

// The runner the ISP tool starts through: the platform's own (wine for a
// Windows build of the tool on Linux), and for a port that names a serial
// server a relay to it, whose local line is the tool's COMn for as long as
// the tool runs. A relay that cannot be made is a start that failed, with
// the server's failure as its message.
std::unique_ptr<fw::ProcessRunner> ispToolRunner(fw::ProcessRunner& direct, PortDeviceOf deviceOf);

} // namespace fw::qt
