#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include <vector>

namespace fw {

// One serial device as the system reports it.
struct DetectedDevice {
    std::string device;  // the name a port opens: /dev/ttyUSB0, COM3
    std::string description;
    std::string manufacturer;
    std::string serialNumber;
    std::optional<uint16_t> vendorId;   // USB devices only
    std::optional<uint16_t> productId;
    int ownNumber = 0;  // the number the platform's own naming gives it (COM3, /dev/ttyS2: 3); 0 for none
    // Where `device` is a name that survives a re-plug (/dev/serial/by-id/...),
    // the name the system gives it now (/dev/ttyUSB0); empty otherwise.
    std::string kernelDevice;
    std::optional<int> latencyTimerMs;  // an FTDI adapter's: how long received bytes wait before they are sent on
};

// Programs that open serial adapters on their own as they appear and may
// hold a port a moment (ModemManager, brltty), by name.
using PortGrabbers = std::vector<std::string>;

// The serial devices present now. Under Qt the system's list; in tests a
// fixed one.
class SerialDeviceSource {
public:
    virtual ~SerialDeviceSource() = default;
    virtual std::vector<DetectedDevice> devices() = 0;
    // True where settings.ini's section "Ports" maps numbers to devices
    // (Linux, macOS); on Windows every port is its own COMn.
    virtual bool mapsPorts() const = 0;
};

} // namespace fw
