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

// Hands the driver as many of the bytes as it has room for now, without
// waiting, as a plain write does; returns how many it took. Nothing while
// QSerialPort still holds bytes of its own, so the order stays, and nothing
// on any failure: what is left goes through QSerialPort, whose wait for
// room and whose errors then apply.
std::size_t handToDriverNow(QSerialPort& port, std::string_view bytes);

enum class DriverRoom { Room, TimedOut, Unknown };

// Sleeps until the driver of a port that takes writes directly has room
// again, as a blocking write would, for at most `timeoutMs`. Unknown on an
// error or a hang-up: QSerialPort's own write then finds and reports it.
DriverRoom waitForDriverRoom(const QSerialPort& port, int timeoutMs);

} // namespace fw::qt
