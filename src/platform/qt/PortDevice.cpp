#include "qt/PortDevice.h"

#include "ground/ProfileFile.h"

namespace fw::qt {

PortDeviceOf settingsPortDevices(std::string settingsPath)
{
    return [path = std::move(settingsPath)](int number) -> std::string {
        if (number < 1) return {};
        if (portsMappedBySettings()) {
            const std::string mapped = ProfileFile(path).read(kPortsSection, "COM" + std::to_string(number));
            if (!mapped.empty()) return mapped;
        }
        return defaultPortDevice(number);
    };
}

} // namespace fw::qt
