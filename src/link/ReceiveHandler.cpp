#include "link/ReceiveHandler.h"

#include "link/PortError.h"
#include "shell/Text.h"
#include "shell/WindowOps.h"

namespace fw {

bool setPortFailureStatus(Tool& tool, int code)
{
    switch (code) {
    case kInvalidPort:
        tool.state.statusLine = "COM" + tool.view.portListText() + kInvalidPortTail;
        return true;
    case kPortAlreadyOpen:
    case kPortNotOpen:
    case kPortDeviceFailure:
        tool.state.statusLine = kLinkFailed;
        return true;
    default:
        return false;
    }
}

namespace {

void takeReceivedText(Tool& tool)
{
    tool.state.receiveBuffer += strip(tool.port.input());
    tool.port.setDtrEnable(!tool.port.dtrEnable());
}

} // namespace

void MSComm1_OnComm(Tool& tool, CommEvent event)
{
    try {
        switch (event) {
        case CommEvent::Received: takeReceivedText(tool); break;
        case CommEvent::OutputQueueFull: tool.port.setPortOpen(false); break;
        default: break;
        }
    } catch (const PortError& e) {
        if (setPortFailureStatus(tool, e.code())) showStatusLine(tool, MessageStyle::Critical);
    }
}

} // namespace fw
