#include "qt/DriverQueue.h"

#include <windows.h>

namespace fw::qt {

std::size_t driverOutputQueue(const QSerialPort& port)
{
    const HANDLE handle = port.handle();
    COMSTAT status{};
    DWORD errors = 0;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !ClearCommError(handle, &errors, &status)) return 0;
    return static_cast<std::size_t>(status.cbOutQue);
}

std::size_t driverInputQueue(const QSerialPort& port)
{
    const HANDLE handle = port.handle();
    COMSTAT status{};
    DWORD errors = 0;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !ClearCommError(handle, &errors, &status)) return 0;
    return static_cast<std::size_t>(status.cbInQue);
}

bool driverTakesWritesDirectly(const QSerialPort&) { return false; }

DriverHandOver handToDriver(QSerialPort&, std::string_view, int, LinePace&) { return {}; }

} // namespace fw::qt
