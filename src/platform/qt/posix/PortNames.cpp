// Serial devices on Linux and macOS have names of their own; settings.ini
// maps port numbers onto them.
#include "qt/PortDevice.h"

namespace fw::qt {

std::string defaultPortDevice(int number)
{
    if (number < 1) return {};
    return "/dev/ttyS" + std::to_string(number - 1);
}

bool portsMappedBySettings() { return true; }

} // namespace fw::qt
