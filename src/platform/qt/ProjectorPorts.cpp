#include "qt/ProjectorPorts.h"

#include <algorithm>

#include "ground/PortForms.h"
#include "ground/PortNumbering.h"

namespace fw::qt {

namespace {

int ownNumberOf(const std::string& device)
{
    for (int n = fw::kLowestPortNumber; n <= fw::kHighestPortNumber; ++n)
        if (defaultPortDevice(n) == device) return n;
    return 0;
}

// The numbers of the device paths among the ports.
std::string numberPaths(const std::vector<std::string>& paths, const std::vector<int>& given,
                        const fw::SettingsFile& settings, std::map<int, std::string>& pathOfPort)
{
    fw::PortLines lines = settings.portDevices();
    for (const int number : given) lines.emplace(number, defaultPortDevice(number));
    std::vector<fw::DetectedDevice> devices;
    for (const std::string& path : paths) {
        fw::DetectedDevice device;
        device.device = path;
        device.ownNumber = ownNumberOf(path);
        devices.push_back(device);
    }
    for (const fw::DetectedPort& port : fw::numberDetectedDevices(devices, lines, portsMappedBySettings())) {
        const std::string& path = port.device.device;
        if (port.number == 0) return "no port number is free for " + path;
        if (std::count(given.begin(), given.end(), port.number))
            return "port " + path + " is " + fw::portName(port.number) + ", given twice";
        pathOfPort[port.number] = path;
    }
    return {};
}

} // namespace

PortAssignment assignPortNumbers(const std::vector<std::string>& ports, const fw::SettingsFile& settings)
{
    PortAssignment assignment;
    std::vector<int> given;
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const auto number = fw::portNumberOf(ports[i]);
        const bool twice = number ? std::count(given.begin(), given.end(), *number) > 0
                                  : std::count(paths.begin(), paths.end(), ports[i]) > 0;
        if (twice) {
            assignment.error = "port " + ports[i] + " given twice";
            return assignment;
        }
        if (number) given.push_back(*number);
        else paths.push_back(ports[i]);
    }
    if (!paths.empty()) assignment.error = numberPaths(paths, given, settings, assignment.pathOfPort);
    if (!assignment.error.empty()) return assignment;
    for (const std::string& port : ports) {
        if (const auto number = fw::portNumberOf(port)) {
            assignment.numbers.push_back(*number);
            continue;
        }
        for (const auto& [number, path] : assignment.pathOfPort)
            if (path == port) assignment.numbers.push_back(number);
    }
    return assignment;
}

PortDeviceOf runPortDevices(std::map<int, std::string> pathOfPort, const fw::SettingsFile& settings)
{
    return [fromSettings = settingsPortDevices(settings), paths = std::move(pathOfPort)](int number) {
        const auto it = paths.find(number);
        return it != paths.end() ? it->second : fromSettings(number);
    };
}

} // namespace fw::qt
