#pragma once

#include <stdexcept>

namespace fw {

// Failure numbers raised by serial port operations. The logic tells these
// four apart; anything else a port layer might raise is mapped onto 8021.
enum PortErrorCode : int {
    kInvalidPort = 8002,      // the port number names no serial port
    kPortAlreadyOpen = 8005,  // already open, or held by another program
    kPortNotOpen = 8018,      // write, read or discard on a closed port
    kPortDeviceFailure = 8021 // the device itself failed
};

class PortError : public std::runtime_error {
public:
    explicit PortError(int code);
    int code() const { return code_; }

private:
    int code_;
};

} // namespace fw
