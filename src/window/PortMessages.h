#pragma once

#include "ground/PortError.h"
#include "link/Link.h"
#include "window/Tool.h"

namespace fw {

// The port's events, as the window takes them: the link keeps the received
// text, and a port failure meanwhile is shown.
void MSComm1_OnComm(Tool& tool, CommEvent event);

// Puts the text for a port failure into the status line: the invalid-port
// text built from the port dialog's list text for 8002, the link failure for
// 8005, 8018 and 8021. Returns false (status line untouched) for any other code.
bool setPortFailureStatus(Tool& tool, int code);

// A port failure during an exchange: its text in the status line and a
// critical box, at once. Nothing for no failure or an unknown code.
void reportPortFailure(Tool& tool, const PortFailure& failure);

// The start-up and the port dialog tell the technician which port failed
// and why. True when the failure was one they report (8002 from the
// dialog's list text, 8005 from the port's own number, 8021 where the port
// can say what failed, as a network port can); the status line then holds
// the message and the box has been shown. A refused open says whether
// another program holds the device or this user may not open it.
bool reportPortSetupFailure(Tool& tool, const PortError& error);
bool reportPortSetupFailure(Tool& tool, int code);

// The message, followed by what the port can tell of its last failure (a
// network port names its server and what went wrong); as it is otherwise.
std::string withPortDetail(const Tool& tool, std::string message);

// A port that cannot be opened again for the projector it was talking to:
// named by its own number (not the dialog's text); a refused open names what
// holds it; anything else is the link failure with what the port can tell.
std::string reopenFailureMessage(const Tool& tool, const PortError& failure);

// The 8005 message for a refused open: the program that holds the device
// where it is known, else the reason and the group to join.
std::string refusedPortMessage(int16_t port, const PortError& refusal);

} // namespace fw
