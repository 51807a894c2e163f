#pragma once

#include <QtGlobal>

namespace fw::qt {

// Keepalive probes soon enough that a serial server which vanished (its
// power pulled, its network gone) is found out within half a minute of
// silence, not after the system's two hours (per-platform file).
void tuneKeepAlive(qintptr descriptor);

// Tells the other end that nothing more will be sent, the connection still
// open for what it sends back.
void shutDownSending(qintptr descriptor);

} // namespace fw::qt
