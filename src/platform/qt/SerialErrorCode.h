#pragma once

#include <QSerialPort>

namespace fw::qt {

// The failure number the logic knows for an error QSerialPort reports.
int portErrorCode(QSerialPort::SerialPortError error);

} // namespace fw::qt
