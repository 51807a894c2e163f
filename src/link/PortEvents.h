#pragma once

#include "ground/SerialPort.h"
#include "link/Link.h"

namespace fw {

// The port's events: received text, trimmed of spaces at its two ends, is
// appended to what the link has received; the DTR line is inverted on every
// receive event; a full output queue closes the port. Returns the failure
// of a port operation the event ran into, for the window to report.
PortFailure takePortEvent(Link& link, CommEvent event);

} // namespace fw
