#include "qt/PortDevice.h"

namespace fw::qt {

PortDeviceOf settingsPortDevices(SettingsFile settings)
{
    return [settings = std::move(settings)](int number) -> std::string {
        if (number < 1) return {};
        if (portsMappedBySettings()) {
            const std::string mapped = settings.portDevice(number);
            if (!mapped.empty()) return mapped;
        }
        return defaultPortDevice(number);
    };
}

} // namespace fw::qt
