#include "qt/DriverQueue.h"

#include <sys/ioctl.h>
#include <termios.h>

namespace fw::qt {

std::size_t driverOutputQueue(const QSerialPort& port)
{
    const int handle = port.handle();
    int queued = 0;
    if (handle < 0 || ioctl(handle, TIOCOUTQ, &queued) != 0 || queued < 0) return 0;
    return static_cast<std::size_t>(queued);
}

std::size_t driverInputQueue(const QSerialPort& port)
{
    const int handle = port.handle();
    int queued = 0;
    if (handle < 0 || ioctl(handle, TIOCINQ, &queued) != 0 || queued < 0) return 0;
    return static_cast<std::size_t>(queued);
}

} // namespace fw::qt
