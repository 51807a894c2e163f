#include "qt/AnyPort.h"

#include "ground/NetworkAddress.h"
#include "ground/PortError.h"

namespace fw::qt {

AnyPort::AnyPort(PortDeviceOf deviceOf, platform::DeviceAccessProbe accessProbe)
    : deviceOf_(std::move(deviceOf)), serial_(deviceOf_, nullptr, std::move(accessProbe)),
      network_(makeNetworkPort(deviceOf_))
{
}

std::string AnyPort::nameOf(int number) const { return deviceOf_ ? deviceOf_(number) : defaultPortDevice(number); }

void AnyPort::setPortOpen(bool open)
{
    if (!open) {
        current_->setPortOpen(false);
        return;
    }
    if (current_->portOpen()) throw PortError(kPortAlreadyOpen);
    current_ = isNetworkPortName(nameOf(commPort())) ? static_cast<fw::SerialPort*>(network_.get()) : &serial_;
    current_->setPortOpen(true);
}

void AnyPort::setCommPort(int16_t number)
{
    current_->setCommPort(number);
    (current_ == &serial_ ? static_cast<fw::SerialPort&>(*network_) : serial_).setCommPort(number);
}

void AnyPort::setInputMode(fw::InputMode mode)
{
    serial_.setInputMode(mode);
    network_->setInputMode(mode);
}

void AnyPort::setDtrEnable(bool level)
{
    serial_.setDtrEnable(level);
    network_->setDtrEnable(level);
}

void AnyPort::setEventHandler(EventHandler handler)
{
    serial_.setEventHandler(handler);
    network_->setEventHandler(std::move(handler));
}

RateSettablePort* AnyPort::openNetworkPort()
{
    return current_ == network_.get() && network_->portOpen() ? network_.get() : nullptr;
}

} // namespace fw::qt
