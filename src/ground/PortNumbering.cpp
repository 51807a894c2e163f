#include "ground/PortNumbering.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace fw {

namespace {

int lineNumberOf(const std::string& device, const PortLines& lines)
{
    for (const auto& [number, mapped] : lines)
        if (mapped == device) return number;
    return 0;
}

int reachingNumber(const DetectedDevice& device, const PortLines& lines, bool mapsPorts)
{
    if (!mapsPorts) return device.ownNumber;
    if (const int mapped = lineNumberOf(device.device, lines)) return mapped;
    if (!device.kernelDevice.empty())
        if (const int mapped = lineNumberOf(device.kernelDevice, lines)) return mapped;  // a line written before
    const bool ownNumberTaken = lines.count(device.ownNumber) != 0;
    return ownNumberTaken ? 0 : device.ownNumber;
}

int lowestFree(const std::set<int>& taken)
{
    for (int n = kLowestPortNumber; n <= kHighestPortNumber; ++n)
        if (!taken.count(n)) return n;
    return 0;
}

} // namespace

std::vector<DetectedPort> numberDetectedDevices(std::vector<DetectedDevice> devices, const PortLines& lines,
                                                bool mapsPorts)
{
    std::sort(devices.begin(), devices.end(),
              [](const DetectedDevice& a, const DetectedDevice& b) { return a.device < b.device; });
    std::vector<DetectedPort> ports;
    std::set<int> taken;
    for (const auto& [number, device] : lines) taken.insert(number);
    for (DetectedDevice& device : devices) {
        if (device.ownNumber > 0) taken.insert(device.ownNumber);
        const int number = reachingNumber(device, lines, mapsPorts);
        ports.push_back({std::move(device), number, false});
    }
    if (!mapsPorts) return ports;
    for (DetectedPort& port : ports) {
        if (port.number != 0) continue;
        port.number = lowestFree(taken);
        port.newLine = port.number != 0;
        taken.insert(port.number);
    }
    return ports;
}

std::string usbId(const DetectedDevice& device)
{
    if (!device.vendorId || !device.productId) return {};
    char text[10];
    std::snprintf(text, sizeof text, "%04x:%04x", unsigned{*device.vendorId}, unsigned{*device.productId});
    return text;
}

} // namespace fw
