#pragma once

#include <string>
#include <vector>

#include "ground/DetectedDevices.h"
#include "ground/SettingsFile.h"

namespace fw {

// A detected device with the port number that reaches it.
struct DetectedPort {
    DetectedDevice device;
    int number = 0;        // 0: no number reaches it, and none can be given
    bool newLine = false;  // the number is new: its "Ports" line is not in settings.ini yet
};

// The number each device is reached by: its "Ports" line (the lowest, if
// several name it), else its own number unless a line gives that number
// to another device. Where ports are mapped, a device no number reaches
// gets the lowest number that reaches nothing, marked as a new line.
// Devices come back in order of their names.
std::vector<DetectedPort> numberDetectedDevices(std::vector<DetectedDevice> devices, const PortLines& lines,
                                                bool mapsPorts);

// "0403:6001" for a USB device, empty otherwise.
std::string usbId(const DetectedDevice& device);

} // namespace fw
