#pragma once

#include <utility>
#include <vector>

#include "ground/DetectedDevices.h"

namespace fw::sim {

// A device list that changes only when told: adapters plugged in and pulled
// out by a test or the screenshot tool.
class FixedDeviceSource final : public fw::SerialDeviceSource {
public:
    explicit FixedDeviceSource(std::vector<fw::DetectedDevice> devices = {}, bool mapsPorts = true)
        : devices_(std::move(devices)), mapsPorts_(mapsPorts)
    {
    }
    std::vector<fw::DetectedDevice> devices() override { return devices_; }
    bool mapsPorts() const override { return mapsPorts_; }

    std::vector<fw::DetectedDevice>& list() { return devices_; }

private:
    std::vector<fw::DetectedDevice> devices_;
    bool mapsPorts_;
};

} // namespace fw::sim
