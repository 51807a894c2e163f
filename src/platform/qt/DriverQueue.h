#pragma once

#include <QSerialPort>
#include <cstddef>
#include <string_view>

namespace fw::qt {

// Bytes the operating system's driver still holds for the line, below what
// QSerialPort itself buffers. Zero where the driver cannot tell.
std::size_t driverOutputQueue(const QSerialPort& port);

// Bytes the driver has received that QSerialPort has not read yet.
std::size_t driverInputQueue(const QSerialPort& port);

// Whether the open port's driver can be handed bytes directly, a write that
// takes what fits and never waits (a non-blocking device on POSIX; Windows'
// overlapped writes are left to QSerialPort).
bool driverTakesWritesDirectly(const QSerialPort& port);

struct DriverHandOver {
    std::size_t taken = 0;
    bool timedOut = false;  // the driver had no room for the rest within the time
};

// Hands the driver the bytes as it makes room for them, sleeping in between
// as a blocking write does, for at most `timeoutMs` in all; says how many it
// took. Nothing while QSerialPort still holds bytes of its own, so the order
// stays, and no more after an error or a hang-up: what is left goes through
// QSerialPort, whose errors then apply.
DriverHandOver handToDriver(QSerialPort& port, std::string_view bytes, int timeoutMs);

} // namespace fw::qt
