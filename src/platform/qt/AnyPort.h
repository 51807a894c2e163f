#pragma once

#include <memory>

#include "ground/SerialPort.h"
#include "platform/DeviceAccess.h"
#include "qt/NetworkPorts.h"
#include "qt/PortDevice.h"
#include "qt/QtSerialPort.h"

namespace fw::qt {

// The port a number's name opens: a serial device (/dev/ttyUSB0, COM3), or
// a serial server on the network (rfc2217://host:port, socket://host:port).
// The name is looked up at every open, so a [Ports] line edited to a server
// takes effect at the next open, as a device path does. Number, input mode,
// DTR level and the receive handler are kept by both kinds alike.
class AnyPort final : public fw::SerialPort {
public:
    explicit AnyPort(PortDeviceOf deviceOf, platform::DeviceAccessProbe accessProbe = platform::deviceAccessError);

    bool portOpen() const override { return current_->portOpen(); }
    void setPortOpen(bool open) override;
    int16_t commPort() const override { return serial_.commPort(); }
    void setCommPort(int16_t number) override;
    fw::InputMode inputMode() const override { return current_->inputMode(); }
    void setInputMode(fw::InputMode mode) override;
    void output(std::string_view bytes) override { current_->output(bytes); }
    std::size_t outputPending() override { return current_->outputPending(); }
    std::string input() override { return current_->input(); }
    std::size_t inputWaiting() override { return current_->inputWaiting(); }
    void discardInput() override { current_->discardInput(); }
    bool dtrEnable() const override { return current_->dtrEnable(); }
    void setDtrEnable(bool level) override;
    void setEventHandler(EventHandler handler) override;
    std::string failureDetail() const override { return current_->failureDetail(); }

    // The network port while one is open; none for a serial device.
    RateSettablePort* openNetworkPort();

private:
    std::string nameOf(int number) const;

    PortDeviceOf deviceOf_;
    QtSerialPort serial_;
    std::unique_ptr<RateSettablePort> network_;
    fw::SerialPort* current_ = &serial_;
};

} // namespace fw::qt
