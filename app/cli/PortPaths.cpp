#include "PortPaths.h"

#include <algorithm>

#include "ground/NetworkAddress.h"
#include "ground/PortNumbering.h"

namespace fw::cli {

namespace {

int ownNumberOf(const std::string& device)
{
    for (int n = kLowestPortNumber; n <= kHighestPortNumber; ++n)
        if (qt::defaultPortDevice(n) == device) return n;
    return 0;
}

} // namespace

bool isDevicePath(const std::string& text)
{
    return text.starts_with('/') || text.starts_with("\\\\") || isNetworkPortName(text);
}

std::optional<std::string> resolvePortPaths(CliOptions& options)
{
    if (options.portPaths.empty()) return std::nullopt;
    PortLines lines = SettingsFile(options.folder).portDevices();
    for (const int given : options.ports) lines.emplace(given, qt::defaultPortDevice(given));

    std::vector<DetectedDevice> devices;
    for (const std::string& path : options.portPaths) {
        DetectedDevice given;
        given.device = path;
        given.ownNumber = ownNumberOf(path);
        devices.push_back(given);
    }
    for (const DetectedPort& port : numberDetectedDevices(devices, lines, qt::portsMappedBySettings())) {
        const std::string& path = port.device.device;
        if (port.number == 0) return "no port number is free for " + path;
        if (std::count(options.ports.begin(), options.ports.end(), port.number))
            return "port " + path + " is " + portName(port.number) + ", given twice";
        options.pathOfPort[port.number] = path;
    }
    for (const std::string& path : options.portPaths)
        for (const auto& [number, mapped] : options.pathOfPort)
            if (mapped == path) options.ports.push_back(number);
    return std::nullopt;
}

qt::PortDeviceOf cliPortDevices(const CliOptions& options)
{
    return [settings = qt::settingsPortDevices(SettingsFile(options.folder)), paths = options.pathOfPort](int number) {
        const auto it = paths.find(number);
        return it != paths.end() ? it->second : settings(number);
    };
}

} // namespace fw::cli
