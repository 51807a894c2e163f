#include "qt/SocketTuning.h"

#include <winsock2.h>
#include <mstcpip.h>

namespace fw::qt {

namespace {

constexpr ULONG kIdleMs = 10000;
constexpr ULONG kProbeIntervalMs = 5000;

} // namespace

void tuneKeepAlive(qintptr descriptor)
{
    tcp_keepalive settings{1, kIdleMs, kProbeIntervalMs};
    DWORD returned = 0;
    WSAIoctl(static_cast<SOCKET>(descriptor), SIO_KEEPALIVE_VALS, &settings, sizeof settings, nullptr, 0, &returned,
             nullptr, nullptr);
}

void shutDownSending(qintptr descriptor)
{
    if (descriptor >= 0) ::shutdown(static_cast<SOCKET>(descriptor), SD_SEND);
}

} // namespace fw::qt
