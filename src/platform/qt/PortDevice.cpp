#include "qt/PortDevice.h"

#include "ground/ProfileFile.h"

namespace fw::qt {

std::string defaultPortDevice(int number)
{
    if (number < 1) return {};
#ifdef _WIN32
    return "COM" + std::to_string(number);
#else
    return "/dev/ttyS" + std::to_string(number - 1);
#endif
}

bool portsMappedBySettings()
{
#ifdef _WIN32
    return false;
#else
    return true;
#endif
}

PortDeviceOf settingsPortDevices(std::string settingsPath)
{
    return [path = std::move(settingsPath)](int number) -> std::string {
        if (number < 1) return {};
#ifndef _WIN32
        const std::string mapped = ProfileFile(path).read(kPortsSection, "COM" + std::to_string(number));
        if (!mapped.empty()) return mapped;
#endif
        return defaultPortDevice(number);
    };
}

} // namespace fw::qt
