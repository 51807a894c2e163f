#include "platform/DeviceAccess.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace fw::platform {

int deviceAccessError(const std::string& device)
{
    // The effective user is the one whose open was refused; checking the
    // mode bits touches neither the line nor its modem-control signals,
    // which a second open of a serial device would.
    if (::faccessat(AT_FDCWD, device.c_str(), R_OK | W_OK, AT_EACCESS) == 0) return 0;
    return errno;
}

} // namespace fw::platform
