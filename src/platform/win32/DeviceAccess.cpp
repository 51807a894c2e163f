#include "platform/DeviceAccess.h"

namespace fw::platform {

// Windows reports a port another program holds as access denied, and a
// COM port has no per-user permission to check: the in-use message stands.
int deviceAccessError(const std::string&) { return 0; }

// Windows names no holder of a COM port to a program that is not its administrator.
std::string deviceHolder(const std::string&) { return {}; }

std::string deviceGroup(const std::string&) { return {}; }

} // namespace fw::platform
