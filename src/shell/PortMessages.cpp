#include "shell/PortMessages.h"

#include <string>

#include "link/PortError.h"
#include "shell/WindowOps.h"

namespace fw {

bool reportPortSetupFailure(Tool& tool, int code)
{
    switch (code) {
    case kInvalidPort:
        report(tool, "COM" + tool.view.portListText() + kInvalidPortTail, MessageStyle::Critical);
        return true;
    case kPortAlreadyOpen:
        report(tool, "COM" + std::to_string(tool.port.commPort()) + kPortInUseTail, MessageStyle::Critical);
        return true;
    default:
        return false;
    }
}

} // namespace fw
