// Network ports where the build has Qt Network.
#include "qt/NetworkPorts.h"

#include "qt/NetworkPort.h"

namespace fw::qt {

std::unique_ptr<RateSettablePort> makeNetworkPort(PortDeviceOf deviceOf)
{
    return std::make_unique<NetworkPort>(std::move(deviceOf));
}

bool networkPortsBuiltIn() { return true; }

} // namespace fw::qt
