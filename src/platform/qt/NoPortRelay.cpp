// Where no local line can stand in for a network port (Windows: the serial
// server's own virtual COM port driver gives the tool a COMn).
#include "qt/PortRelay.h"

#include "ground/Texts.h"

namespace fw::qt {

std::unique_ptr<PortRelay> makePortRelay(PortDeviceOf, int, std::string& failure)
{
    failure = texts::NoPortRelay;
    return nullptr;
}

} // namespace fw::qt
