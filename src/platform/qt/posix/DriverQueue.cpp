#include "qt/DriverQueue.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

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

bool driverTakesWritesDirectly(const QSerialPort& port)
{
    const int handle = port.handle();
    if (handle < 0) return false;
    const int flags = fcntl(handle, F_GETFL);
    return flags != -1 && (flags & O_NONBLOCK) != 0;
}

DriverHandOver handToDriver(QSerialPort& port, std::string_view bytes, int timeoutMs)
{
    DriverHandOver done;
    const int handle = port.handle();
    if (handle < 0 || port.bytesToWrite() > 0) return done;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (done.taken < bytes.size()) {
        // Only while the driver says it has room: a plain write takes what
        // fits into a pseudo-terminal's buffer regardless, and at 38400 bit/s
        // the image's last bytes then reached the loader after its wait for
        // the verdict had ended ("ERROR: uP software download failed!").
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd room{handle, POLLOUT, 0};
        const int ready = ::poll(&room, 1, static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0)));
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) {
            done.timedOut = true;
            return done;
        }
        if (ready < 0 || (room.revents & POLLOUT) == 0) return done;
        const ssize_t taken = ::write(handle, bytes.data() + done.taken, bytes.size() - done.taken);
        if (taken < 0 && errno != EAGAIN && errno != EINTR) return done;
        if (taken > 0) done.taken += static_cast<std::size_t>(taken);
    }
    return done;
}

} // namespace fw::qt
