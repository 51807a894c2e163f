#include "window/PortMessages.h"

#include <string>

#include "ground/Texts.h"
#include "link/PortEvents.h"
#include "window/WindowOps.h"

namespace fw {

namespace {

std::string portAndDevice(int16_t port, const std::string& device)
{
    const std::string name = portName(port);
    return device.empty() ? name : name + " (" + device + ")";
}

std::string invalidPortMessage(Tool& tool)
{
    return withPortDetail(tool, portName(tool.view.portListText()) + texts::InvalidPortTail);
}

} // namespace

void MSComm1_OnComm(Tool& tool, CommEvent event) { reportPortFailure(tool, takePortEvent(tool.link, event)); }

bool setPortFailureStatus(Tool& tool, int code)
{
    switch (code) {
    case kInvalidPort: tool.state.statusLine = invalidPortMessage(tool); return true;
    case kPortAlreadyOpen:
    case kPortNotOpen:
    case kPortDeviceFailure: tool.state.statusLine = withPortDetail(tool, texts::LinkFailed); return true;
    default: return false;
    }
}

std::string withPortDetail(const Tool& tool, std::string message)
{
    const std::string detail = tool.port.failureDetail();
    return detail.empty() ? message : message + " " + detail;
}

void reportPortFailure(Tool& tool, const PortFailure& failure)
{
    if (failure && setPortFailureStatus(tool, *failure)) showStatusLine(tool, MessageStyle::Critical);
}

std::string refusedPortMessage(int16_t port, const PortError& refusal)
{
    const std::string& device = refusal.device();
    const std::string group = refusal.group().empty() ? texts::DefaultDeviceGroup : refusal.group();
    const std::string joinGroup = texts::JoinGroup + group + texts::JoinGroupTail;
    if (!refusal.holder().empty() && refusal.refusal() != OpenRefusal::PermissionDenied)
        return portAndDevice(port, device) + texts::PortUsedBy + refusal.holder() + texts::PortUsedByTail;
    switch (refusal.refusal()) {
    case OpenRefusal::PermissionDenied: return portAndDevice(port, device) + texts::PortNoPermission + joinGroup;
    case OpenRefusal::InUseOrPermissionDenied:
        return portAndDevice(port, device) + texts::PortInUseOrNoPermission + joinGroup;
    case OpenRefusal::InUse: break;
    }
    return portName(port) + texts::PortInUseTail;
}

std::string reopenFailureMessage(const Tool& tool, const PortError& failure)
{
    const int16_t port = tool.port.commPort();
    switch (failure.code()) {
    case kInvalidPort: return withPortDetail(tool, portName(port) + texts::InvalidPortTail);
    case kPortAlreadyOpen: return refusedPortMessage(port, failure);
    default: return withPortDetail(tool, texts::LinkFailed);
    }
}

bool reportPortSetupFailure(Tool& tool, const PortError& error)
{
    switch (error.code()) {
    case kInvalidPort: report(tool, invalidPortMessage(tool), MessageStyle::Critical); return true;
    case kPortAlreadyOpen:
        report(tool, refusedPortMessage(tool.port.commPort(), error), MessageStyle::Critical);
        return true;
    case kPortDeviceFailure:
        if (tool.port.failureDetail().empty()) return false;
        report(tool, withPortDetail(tool, texts::LinkFailed), MessageStyle::Critical);
        return true;
    default: return false;
    }
}

bool reportPortSetupFailure(Tool& tool, int code) { return reportPortSetupFailure(tool, PortError(code)); }

} // namespace fw
