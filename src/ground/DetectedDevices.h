#pragma once

#include <cstdint>
#include <optional>
#include <string>
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
};

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
