// On Windows port n is the device COMn itself.
#include "qt/PortDevice.h"

namespace fw::qt {

std::string defaultPortDevice(int number)
{
    if (number < 1) return {};
    return portName(number);
}

bool portsMappedBySettings() { return false; }

} // namespace fw::qt
