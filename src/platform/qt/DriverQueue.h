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

// How the line has been taking bytes since it was opened. A slow line (a
// real 38400 bit/s line needs a quarter of a second for a block) gets each
// write only once its driver calls for more; a fast one is handed what fits
// at once and waited for only when full, as a blocking write does.
struct LinePace {
    bool slow = false;
};

// Hands the driver the bytes as it makes room for them, sleeping in between,
// for at most `timeoutMs` in all; says how many it took and notes in `pace`
// how long the line made it wait. Nothing while QSerialPort still holds
// bytes of its own, so the order stays, and no more after an error or a
// hang-up: what is left goes through QSerialPort, whose errors then apply.
DriverHandOver handToDriver(QSerialPort& port, std::string_view bytes, int timeoutMs, LinePace& pace);

} // namespace fw::qt
