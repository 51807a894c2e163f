#include "platform/DeviceAccess.h"

namespace fw::platform {

// Windows reports a port another program holds as access denied, and a
// COM port has no per-user permission to check: the in-use message stands.
int deviceAccessError(const std::string&) { return 0; }

} // namespace fw::platform
