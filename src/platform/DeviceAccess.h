#pragma once

#include <functional>
#include <string>

#include "ground/PortError.h"

namespace fw::platform {

// Asks whether this user may read and write a device: 0 when it may, else
// the system's error number for the refusal.
using DeviceAccessProbe = std::function<int(const std::string& device)>;

// The system's own answer for the device (per-platform file). Where the
// platform has no such check it answers 0: may use it.
int deviceAccessError(const std::string& device);

// The programs that hold the device open, as "minicom (process 4711)",
// several with commas between; empty where none can be seen (per-platform file: Linux looks through
// /proc/*/fd, as far as this user may).
std::string deviceHolder(const std::string& device);

// The group the device belongs to ("dialout", "uucp"): the one a user
// joins to use it; empty where the system does not tell.
std::string deviceGroup(const std::string& device);

// Why an open the serial layer refused as "permission or busy" failed,
// from the access check's answer for the same device: a device the user
// may use was held by another program; one it may not use was refused for
// permission; any other answer leaves both possible.
OpenRefusal refusalForAccessError(int accessError);

} // namespace fw::platform
