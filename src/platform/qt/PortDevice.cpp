#include "qt/PortDevice.h"

#include "ground/NetworkAddress.h"

namespace fw::qt {

PortDeviceOf settingsPortDevices(SettingsFile settings)
{
    return [settings = std::move(settings)](int number) -> std::string {
        if (number < 1) return {};
        // A serial server is named the same way everywhere; device lines
        // only where devices have names of their own.
        const std::string mapped = settings.portDevice(number);
        if (!mapped.empty() && (portsMappedBySettings() || isNetworkPortName(mapped))) return mapped;
        return defaultPortDevice(number);
    };
}

} // namespace fw::qt
