#pragma once

#include <memory>
#include <string>

#include "qt/PortDevice.h"

namespace fw::qt {

// A local serial line for a program that only knows COMn (the vendor's ISP
// tool), relayed both ways to a network port while it lives: the rate the
// program sets on its side of the line is passed on to the server, and the
// server's line goes back to 38400 8N1 when the relay ends.
class PortRelay {
public:
    virtual ~PortRelay() = default;
    // The device the program opens.
    virtual const std::string& localDevice() const = 0;
};

// Opens the network port that `number` names and a local line relayed to
// it; throws PortError, the detail in `failure`. None where this system
// cannot relay (per-platform file): Linux can; on Windows the serial
// server's own virtual COM port driver gives the tool a COMn.
std::unique_ptr<PortRelay> makePortRelay(PortDeviceOf deviceOf, int number, std::string& failure);

} // namespace fw::qt
