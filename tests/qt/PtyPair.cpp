#include "PtyPair.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
    slaveName_ = name;
    // The far end reads raw bytes, and never blocks the test.
    termios raw{};
    tcgetattr(master_, &raw);
    cfmakeraw(&raw);
    tcsetattr(master_, TCSANOW, &raw);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair()
{
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
}

void PtyPair::send(const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EAGAIN && errno != EINTR) throw std::runtime_error("pty write failed");
        if (n > 0) done += static_cast<std::size_t>(n);
    }
}

std::string PtyPair::received(std::size_t atMost)
{
    std::string out;
    if (master_ < 0) return out;
    char buffer[4096];
    while (out.size() < atMost) {
        const ssize_t n = read(master_, buffer, std::min(sizeof buffer, atMost - out.size()));
        if (n <= 0) break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

bool PtyPair::awaitBytesForProgram(int limitMs)
{
    pollfd waiting{slave_, POLLIN, 0};  // the program's side of the line, looked at but never read
    return poll(&waiting, 1, limitMs) == 1 && (waiting.revents & POLLIN);
}

void PtyPair::hangUp()
{
    if (master_ >= 0) close(master_);
    master_ = -1;
}
