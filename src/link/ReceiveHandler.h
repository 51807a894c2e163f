#pragma once

#include "link/SerialPort.h"

namespace fw {

struct Tool;

// The port's receive event: received text, trimmed of spaces at its two
// ends, is appended to the receive buffer; the DTR line is inverted on every
// receive event; a full output queue closes the port.
void MSComm1_OnComm(Tool& tool, CommEvent event);

// Puts the text for a port failure into the status line: the invalid-port
// text built from the port dialog's list text for 8002, the link failure for
// 8005, 8018 and 8021. Returns false (status line untouched) for any other code.
bool setPortFailureStatus(Tool& tool, int code);

} // namespace fw
