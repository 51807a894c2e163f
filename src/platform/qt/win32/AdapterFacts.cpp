// Windows names its COM ports itself and has no latency timer files; the
// FTDI driver's own dialog sets the timer there.
#include "qt/AdapterFacts.h"

namespace fw::qt {

std::string stableDeviceName(const std::string&) { return {}; }

std::optional<int> latencyTimerMs(const std::string&) { return std::nullopt; }

fw::PortGrabbers portGrabbersRunning() { return {}; }

} // namespace fw::qt
