#pragma once

#include <QObject>
#include <QSerialPort>

#include "ground/SerialPort.h"
#include "platform/DeviceAccess.h"
#include "qt/DriverQueue.h"
#include "qt/PortDevice.h"

namespace fw::qt {

// fw::SerialPort over QSerialPort: 38400 bit/s, 8 data bits, no parity,
// 1 stop bit, no flow control. Failures become the logic's port codes.
class QtSerialPort final : public QObject, public fw::SerialPort {
    Q_OBJECT

public:
    // The access probe tells a device another program holds from one this
    // user may not open, when QSerialPort reports both as a permission error.
    explicit QtSerialPort(PortDeviceOf deviceOf, QObject* parent = nullptr,
                          platform::DeviceAccessProbe accessProbe = platform::deviceAccessError);
    ~QtSerialPort() override;

    bool portOpen() const override;
    void setPortOpen(bool open) override;
    int16_t commPort() const override { return number_; }
    void setCommPort(int16_t number) override;
    fw::InputMode inputMode() const override { return mode_; }
    void setInputMode(fw::InputMode mode) override { mode_ = mode; }
    void output(std::string_view bytes) override;
    std::size_t outputPending() override;
    std::string input() override;
    std::size_t inputWaiting() override;
    void discardInput() override;
    bool dtrEnable() const override { return dtr_; }
    void setDtrEnable(bool level) override;
    void setEventHandler(EventHandler handler) override { handler_ = std::move(handler); }

    // The device name the last open used (for messages and tests).
    const std::string& deviceName() const { return device_; }

private:
    void open();
    void close();
    std::size_t handToDriverDirectly(std::string_view bytes);
    [[noreturn]] void timeOut();
    void waitUntilTaken(qint64 bytes);
    [[noreturn]] void fail();
    [[noreturn]] void failOpen();
    void onReadyRead();
    void raiseReceived();

    QSerialPort port_;
    PortDeviceOf deviceOf_;
    platform::DeviceAccessProbe accessProbe_;
    std::string device_;
    EventHandler handler_;
    int16_t number_ = 1;
    fw::InputMode mode_ = fw::InputMode::Text;
    bool dtr_ = false;
    bool hasDtrLine_ = false;       // the open port took a DTR level
    bool writesDirectly_ = false;   // the driver can be handed bytes itself (see handToDriverDirectly())
    LinePace pace_;                 // how fast the line has taken the direct writes
    bool writing_ = false;          // inside output(): receive events wait for the event loop
    bool receivePending_ = false;   // a receive event is queued for the event loop
};

} // namespace fw::qt
