#include "SerialLink.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "ground/SettingsFile.h"
#include "platform/IspToolRunner.h"

namespace fw::sim::isp {

namespace {

constexpr const char* kUnmappedPrefix = "/dev/ttyS";
constexpr std::size_t kReadChunk = 4096;

std::optional<speed_t> speedFor(uint32_t baud)
{
    switch (baud) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return std::nullopt;
    }
}

} // namespace

SerialLink::~SerialLink()
{
    if (native_ >= 0) ::close(static_cast<int>(native_));
}

std::string SerialLink::open(const std::string& device, uint32_t baud)
{
    const auto speed = speedFor(baud);
    if (!speed) return "unsupported speed " + std::to_string(baud);
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    native_ = fd;
    if (fd < 0) return std::strerror(errno);
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return std::strerror(errno);
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, *speed);
    cfsetospeed(&tio, *speed);
    if (tcsetattr(fd, TCSANOW, &tio) != 0) return std::strerror(errno);
    tcflush(fd, TCIOFLUSH);
    return {};
}

bool SerialLink::writeAll(const std::string& bytes)
{
    const int fd = static_cast<int>(native_);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 100);
            continue;
        }
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::optional<std::string> SerialLink::read(uint32_t timeoutMs)
{
    const int fd = static_cast<int>(native_);
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(timeoutMs));
    if (ready < 0) return errno == EINTR ? std::optional<std::string>(std::string{}) : std::nullopt;
    if (ready == 0) return std::string{};
    if (p.revents & (POLLERR | POLLNVAL)) return std::nullopt;
    char buffer[kReadChunk];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) return errno == EAGAIN || errno == EINTR ? std::optional<std::string>(std::string{}) : std::nullopt;
    if (n == 0) return (p.revents & POLLHUP) ? std::nullopt : std::optional<std::string>(std::string{});
    return std::string(buffer, static_cast<std::size_t>(n));
}

std::string deviceForPort(const std::string& folder, int portNumber)
{
    // The program names the device (a local line that relays to a network port, say).
    if (const char* given = std::getenv(fw::platform::kPortDeviceVariable); given && *given) return given;
    const std::string mapped = fw::SettingsFile(folder).portDevice(portNumber);
    return mapped.empty() ? kUnmappedPrefix + std::to_string(portNumber - 1) : mapped;
}

void endAsCrashed()
{
    std::raise(SIGKILL);
    std::abort();
}

} // namespace fw::sim::isp
