#pragma once

#include "link/PortError.h"
#include "shell/Tool.h"

namespace fw {

// The start-up and the port dialog tell the technician which port failed
// and why. True when the failure was one of the two they report (8002 from
// the dialog's list text, 8005 from the port's own number); the status line
// then holds the message and the box has been shown. A refused open says
// whether another program holds the device or this user may not open it.
bool reportPortSetupFailure(Tool& tool, const PortError& error);
bool reportPortSetupFailure(Tool& tool, int code);

// The 8005 message for a port refused for this reason.
std::string refusedPortMessage(int16_t port, OpenRefusal refusal, const std::string& device);

inline constexpr const char* kDialoutFix = "add the user to the dialout group, then log in again.";

} // namespace fw
