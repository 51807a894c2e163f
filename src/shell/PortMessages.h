#pragma once

#include "shell/Tool.h"

namespace fw {

// The start-up and the port dialog tell the technician which port failed
// and why. True when the failure was one of the two they report (8002 from
// the dialog's list text, 8005 from the port's own number); the status line
// then holds the message and the box has been shown.
bool reportPortSetupFailure(Tool& tool, int code);

} // namespace fw
