#include "qt/DriverQueue.h"

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

namespace {

// A wait for room longer than this marks the line as slow.
constexpr auto kSlowLineWait = std::chrono::milliseconds(50);

enum class Room { Made, TimedOut, Failed };

// Sleeps until the driver has room, at the latest until `deadline`. Only a
// wait that really slept tells how fast the line is.
Room waitForRoom(int handle, std::chrono::steady_clock::time_point deadline, LinePace& pace)
{
    using namespace std::chrono;
    if (steady_clock::now() >= deadline) return Room::TimedOut;
    pollfd room{handle, POLLOUT, 0};
    int ready = ::poll(&room, 1, 0);
    if (ready == 0) {
        const auto sleptFrom = steady_clock::now();
        do {
            const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
            if (left <= 0) return Room::TimedOut;
            ready = ::poll(&room, 1, static_cast<int>(left));
        } while (ready < 0 && errno == EINTR);
        if (ready == 0) return Room::TimedOut;
        pace.slow = steady_clock::now() - sleptFrom > kSlowLineWait;
    }
    return ready > 0 && (room.revents & POLLOUT) != 0 ? Room::Made : Room::Failed;
}

} // namespace

DriverHandOver handToDriver(QSerialPort& port, std::string_view bytes, int timeoutMs, LinePace& pace)
{
    DriverHandOver done;
    const int handle = port.handle();
    if (handle < 0 || port.bytesToWrite() > 0) return done;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    bool full = false;
    while (done.taken < bytes.size()) {
        // On a slow line every write waits until the driver calls for more:
        // a pseudo-terminal takes seconds of such a line regardless, and the
        // image's last bytes then reached the loader after its wait for the
        // verdict had ended ("ERROR: uP software download failed!"). On a
        // fast line that wait before every block cost a fifth of its speed.
        if (pace.slow || full) {
            const Room room = waitForRoom(handle, deadline, pace);
            done.timedOut = room == Room::TimedOut;
            if (room != Room::Made) return done;
        }
        const ssize_t taken = ::write(handle, bytes.data() + done.taken, bytes.size() - done.taken);
        if (taken < 0 && errno == EINTR) continue;
        if (taken == 0 || (taken < 0 && errno != EAGAIN)) return done;
        full = taken < 0;
        if (taken > 0) done.taken += static_cast<std::size_t>(taken);
    }
    return done;
}

} // namespace fw::qt
