#pragma once

#include <QSerialPort>
#include <cstddef>

namespace fw::qt {

// Bytes the operating system's driver still holds for the line, below what
// QSerialPort itself buffers. Zero where the driver cannot tell.
std::size_t driverOutputQueue(const QSerialPort& port);

// Bytes the driver has received that QSerialPort has not read yet.
std::size_t driverInputQueue(const QSerialPort& port);

} // namespace fw::qt
