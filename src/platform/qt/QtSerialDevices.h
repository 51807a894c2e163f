#pragma once

#include "ground/DetectedDevices.h"

namespace fw::qt {

// The serial devices QSerialPortInfo reports, with the number the
// platform's own naming gives each (COMn, /dev/ttyS(n-1)).
class QtSerialDevices final : public fw::SerialDeviceSource {
public:
    std::vector<fw::DetectedDevice> devices() override;
    bool mapsPorts() const override;
};

} // namespace fw::qt
