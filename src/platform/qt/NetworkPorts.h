#pragma once

#include <cstdint>
#include <memory>

#include "ground/SerialPort.h"
#include "qt/PortDevice.h"

namespace fw::qt {

// A port whose line the program sets itself: a network port over RFC 2217
// can be put at the rate the ISP tool wants for the tool's run.
class RateSettablePort : public fw::SerialPort {
public:
    virtual void setLineRate(uint32_t bitsPerSecond) = 0;
    // Off: output() returns once the connection has taken the bytes, without
    // keeping to the line's pace; for a relay, whose far end paces itself.
    virtual void setPacedToLine(bool paced) = 0;
};

// The port for names that start with rfc2217:// or socket://. Where the
// build has Qt Network, a client of the serial server; elsewhere a port
// that refuses to open, saying the build has no network ports.
std::unique_ptr<RateSettablePort> makeNetworkPort(PortDeviceOf deviceOf);

// False where the build has no network ports.
bool networkPortsBuiltIn();

} // namespace fw::qt
