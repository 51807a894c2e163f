#include "qt/SocketTuning.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace fw::qt {

namespace {

constexpr int kIdleSeconds = 10;
constexpr int kProbeIntervalSeconds = 5;
constexpr int kProbes = 3;

} // namespace

void tuneKeepAlive(qintptr descriptor)
{
    const int fd = static_cast<int>(descriptor);
    if (fd < 0) return;
#ifdef TCP_KEEPIDLE
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &kIdleSeconds, sizeof kIdleSeconds);
#endif
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &kProbeIntervalSeconds, sizeof kProbeIntervalSeconds);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &kProbes, sizeof kProbes);
}

void shutDownSending(qintptr descriptor)
{
    if (descriptor >= 0) ::shutdown(static_cast<int>(descriptor), SHUT_WR);
}

} // namespace fw::qt
