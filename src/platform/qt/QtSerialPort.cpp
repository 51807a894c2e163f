#include "qt/QtSerialPort.h"

#include <QMetaObject>
#include <algorithm>

#include "ground/LineTiming.h"
#include "ground/PortError.h"
#include "qt/DriverQueue.h"
#include "qt/SerialErrorCode.h"

namespace fw::qt {

namespace {

constexpr qint32 kBaudRate = fw::kLineBitsPerSecond;

} // namespace

QtSerialPort::QtSerialPort(PortDeviceOf deviceOf, QObject* parent, platform::DeviceAccessProbe accessProbe)
    : QObject(parent), port_(this), deviceOf_(std::move(deviceOf)), accessProbe_(std::move(accessProbe))
{
    connect(&port_, &QSerialPort::readyRead, this, &QtSerialPort::onReadyRead);
}

QtSerialPort::~QtSerialPort() { close(); }

bool QtSerialPort::portOpen() const { return port_.isOpen(); }

void QtSerialPort::setPortOpen(bool open)
{
    if (open)
        this->open();
    else
        close();
}

void QtSerialPort::setCommPort(int16_t number)
{
    if (number < 1) throw PortError(kInvalidPort);  // no serial port has a number below 1
    // The number selects the device at the next open; an open device stays.
    if (port_.isOpen()) throw PortError(kPortAlreadyOpen);
    number_ = number;
}

void QtSerialPort::open()
{
    if (port_.isOpen()) throw PortError(kPortAlreadyOpen);
    device_ = deviceOf_ ? deviceOf_(number_) : defaultPortDevice(number_);
    if (device_.empty()) throw PortError(kInvalidPort);

    port_.setPortName(QString::fromStdString(device_));
    port_.setBaudRate(kBaudRate);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) failOpen();
    // A port that takes no DTR level as it opens has no such line (a
    // pseudo-terminal, wine's serial ports, some adapters): the level stays
    // the program's own and is never refused afterwards, on every system. A
    // port that opened is not refused over its modem-control lines.
    hasDtrLine_ = port_.setDataTerminalReady(dtr_);
    if (!hasDtrLine_) port_.clearError();
    writesDirectly_ = driverTakesWritesDirectly(port_);
    pace_ = {};
}

void QtSerialPort::close()
{
    receivePending_ = false;
    if (!port_.isOpen()) return;
    port_.clear(QSerialPort::AllDirections);  // waiting input is dropped, unsent output too
    port_.close();
    port_.clearError();
}

void QtSerialPort::fail()
{
    const int code = portErrorCode(port_.error());
    port_.clearError();
    throw PortError(code);
}

void QtSerialPort::failOpen()
{
    // QSerialPort reports a lock another program holds, a busy device and a
    // device this user may not open alike.
    if (port_.error() != QSerialPort::PermissionError) fail();
    port_.clearError();
    const int accessError = accessProbe_ ? accessProbe_(device_) : 0;
    throw PortError(kPortAlreadyOpen, platform::refusalForAccessError(accessError), device_,
                    platform::deviceHolder(device_), platform::deviceGroup(device_));
}

void QtSerialPort::setDtrEnable(bool level)
{
    dtr_ = level;
    if (port_.isOpen() && hasDtrLine_ && !port_.setDataTerminalReady(dtr_)) fail();
}

void QtSerialPort::output(std::string_view bytes)
{
    if (!port_.isOpen()) throw PortError(kPortNotOpen);
    if (bytes.empty()) return;
    writing_ = true;
    try {
        const std::string_view rest = bytes.substr(writesDirectly_ ? handToDriverDirectly(bytes) : 0);
        if (!rest.empty()) {
            const qint64 size = static_cast<qint64>(rest.size());
            if (port_.write(rest.data(), size) != size) fail();
            waitUntilTaken(size);
        }
    } catch (...) {
        writing_ = false;
        throw;
    }
    writing_ = false;
}

std::size_t QtSerialPort::handToDriverDirectly(std::string_view bytes)
{
    // Straight to the driver, as a blocking write does: QSerialPort's own
    // write would ask the event loop to watch the device and stop watching
    // it again, for every block.
    const DriverHandOver handed = handToDriver(port_, bytes, fw::writeTimeoutMs(bytes.size()), pace_);
    if (handed.timedOut) timeOut();
    return handed.taken;
}

void QtSerialPort::timeOut()
{
    port_.clear(QSerialPort::Output);  // what did not go out must not go out later
    port_.clearError();
    throw PortError(kPortDeviceFailure);
}

void QtSerialPort::waitUntilTaken(qint64 bytes)
{
    // The block is handed to the driver before output() returns, so the
    // writer is never more than one block ahead of the line.
    const int timeoutMs = fw::writeTimeoutMs(static_cast<uint64_t>(bytes));
    while (port_.bytesToWrite() > 0) {
        if (port_.waitForBytesWritten(timeoutMs)) continue;
        const bool timedOut = port_.error() == QSerialPort::TimeoutError || port_.error() == QSerialPort::NoError;
        if (timedOut) timeOut();
        port_.clear(QSerialPort::Output);
        fail();
    }
}

std::size_t QtSerialPort::outputPending()
{
    if (!port_.isOpen()) throw PortError(kPortNotOpen);
    return static_cast<std::size_t>(port_.bytesToWrite()) + driverOutputQueue(port_);
}

std::string QtSerialPort::input()
{
    if (!port_.isOpen()) throw PortError(kPortNotOpen);
    const QByteArray data = port_.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

std::size_t QtSerialPort::inputWaiting()
{
    if (!port_.isOpen()) throw PortError(kPortNotOpen);
    return static_cast<std::size_t>(port_.bytesAvailable()) + driverInputQueue(port_);
}

void QtSerialPort::discardInput()
{
    if (!port_.isOpen()) throw PortError(kPortNotOpen);
    port_.clear(QSerialPort::Input);
    port_.readAll();
}

void QtSerialPort::onReadyRead()
{
    // While output() waits for the driver, QSerialPort may read the line
    // and signal from inside that wait. The logic only meets received text
    // when it yields, so the event is raised from the event loop instead.
    if (writing_) {
        if (!receivePending_) {
            receivePending_ = true;
            QMetaObject::invokeMethod(this, &QtSerialPort::raiseReceived, Qt::QueuedConnection);
        }
        return;
    }
    raiseReceived();
}

void QtSerialPort::raiseReceived()
{
    receivePending_ = false;
    // A receive event means at least one character waits.
    if (!port_.isOpen() || port_.bytesAvailable() == 0) return;
    if (handler_) handler_(fw::CommEvent::Received);
}

} // namespace fw::qt
