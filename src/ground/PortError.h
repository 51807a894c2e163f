#pragma once

#include <stdexcept>
#include <string>

namespace fw {

// Failure numbers raised by serial port operations. The logic tells these
// four apart; anything else a port layer might raise is mapped onto 8021.
enum PortErrorCode : int {
    kInvalidPort = 8002,      // the port number names no serial port
    kPortAlreadyOpen = 8005,  // already open, or held by another program
    kPortNotOpen = 8018,      // write, read or discard on a closed port
    kPortDeviceFailure = 8021 // the device itself failed
};

// Why an open was refused with 8005, where the platform can tell: another
// program holds the device, or this user may not open it at all.
enum class OpenRefusal {
    InUse,
    PermissionDenied,
    InUseOrPermissionDenied,  // the platform cannot tell the two apart
};

class PortError : public std::runtime_error {
public:
    explicit PortError(int code);
    // A refused open of the named device; the program that holds it
    // ("minicom (process 4711)") and the group a user joins to use it
    // ("dialout"), where the system tells them.
    PortError(int code, OpenRefusal refusal, std::string device, std::string holder = {}, std::string group = {});
    int code() const { return code_; }
    OpenRefusal refusal() const { return refusal_; }
    // The device the open was refused for; empty when not known.
    const std::string& device() const { return device_; }
    const std::string& holder() const { return holder_; }
    const std::string& group() const { return group_; }

private:
    int code_;
    OpenRefusal refusal_ = OpenRefusal::InUse;
    std::string device_;
    std::string holder_;
    std::string group_;
};

} // namespace fw
