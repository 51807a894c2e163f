#pragma once

#include <optional>
#include <string>

#include "ground/DetectedDevices.h"

namespace fw::qt {

// What the system tells of a serial adapter beyond what Qt reports
// (per-platform file: Linux reads /dev/serial/by-id, sysfs and /proc;
// elsewhere nothing is known).

// The /dev/serial/by-id name that leads to the device, which stays the same
// when the adapter is plugged in again elsewhere; empty when there is none.
std::string stableDeviceName(const std::string& device);

// An FTDI adapter's latency timer in milliseconds: received bytes wait up to
// that long in the adapter before they are sent to the computer.
std::optional<int> latencyTimerMs(const std::string& device);

// ModemManager and brltty, where they run now.
fw::PortGrabbers portGrabbersRunning();

} // namespace fw::qt
