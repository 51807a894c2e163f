#include "shell/PortMessages.h"

#include <string>

#include "shell/WindowOps.h"

namespace fw {

namespace {

std::string portAndDevice(int16_t port, const std::string& device)
{
    const std::string name = "COM" + std::to_string(port);
    return device.empty() ? name : name + " (" + device + ")";
}

} // namespace

std::string refusedPortMessage(int16_t port, OpenRefusal refusal, const std::string& device)
{
    switch (refusal) {
    case OpenRefusal::PermissionDenied:
        return portAndDevice(port, device) + " cannot be opened: this user has no permission to use it.  Please " +
               kDialoutFix;
    case OpenRefusal::InUseOrPermissionDenied:
        return portAndDevice(port, device) +
               " cannot be opened: another program is using it, or this user has no permission to use it.  "
               "Please close that program, or " +
               kDialoutFix;
    case OpenRefusal::InUse: break;
    }
    return "COM" + std::to_string(port) + kPortInUseTail;
}

bool reportPortSetupFailure(Tool& tool, const PortError& error)
{
    switch (error.code()) {
    case kInvalidPort:
        report(tool, "COM" + tool.view.portListText() + kInvalidPortTail, MessageStyle::Critical);
        return true;
    case kPortAlreadyOpen:
        report(tool, refusedPortMessage(tool.port.commPort(), error.refusal(), error.device()),
               MessageStyle::Critical);
        return true;
    default:
        return false;
    }
}

bool reportPortSetupFailure(Tool& tool, int code) { return reportPortSetupFailure(tool, PortError(code)); }

} // namespace fw
