#include "qt/SerialErrorCode.h"

#include "ground/PortError.h"

namespace fw::qt {

int portErrorCode(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError: return kInvalidPort;
    // Qt reports a lock file held by another process as a permission error:
    // the port is busy, not missing.
    case QSerialPort::PermissionError: return kPortAlreadyOpen;
    case QSerialPort::NotOpenError: return kPortNotOpen;
    case QSerialPort::OpenError:  // "already open" in QSerialPort's own words
        return kPortAlreadyOpen;
    default: return kPortDeviceFailure;
    }
}

} // namespace fw::qt
