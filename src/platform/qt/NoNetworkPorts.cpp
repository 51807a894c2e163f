// A build without Qt Network (the Windows build's static Qt has none): a
// port named rfc2217:// or socket:// is refused with a message that says
// so, and the serial server's own virtual COM port driver is the way there.
#include "qt/NetworkPorts.h"

#include "ground/PortError.h"
#include "ground/Texts.h"

namespace fw::qt {

namespace {

class RefusingPort final : public RateSettablePort {
public:
    explicit RefusingPort(PortDeviceOf deviceOf) : deviceOf_(std::move(deviceOf)) {}

    bool portOpen() const override { return false; }
    void setPortOpen(bool open) override
    {
        if (!open) return;
        failure_ = (deviceOf_ ? deviceOf_(number_) : std::string()) + texts::NoNetworkPorts;
        throw PortError(kPortDeviceFailure);
    }
    int16_t commPort() const override { return number_; }
    void setCommPort(int16_t number) override
    {
        if (number < 1) throw PortError(kInvalidPort);
        number_ = number;
    }
    fw::InputMode inputMode() const override { return mode_; }
    void setInputMode(fw::InputMode mode) override { mode_ = mode; }
    void output(std::string_view) override { throw PortError(kPortNotOpen); }
    std::size_t outputPending() override { throw PortError(kPortNotOpen); }
    std::string input() override { throw PortError(kPortNotOpen); }
    std::size_t inputWaiting() override { throw PortError(kPortNotOpen); }
    void discardInput() override { throw PortError(kPortNotOpen); }
    bool dtrEnable() const override { return dtr_; }
    void setDtrEnable(bool level) override { dtr_ = level; }
    void setEventHandler(EventHandler) override {}
    std::string failureDetail() const override { return failure_; }
    void setLineRate(uint32_t) override { throw PortError(kPortNotOpen); }
    void setPacedToLine(bool) override {}

private:
    PortDeviceOf deviceOf_;
    std::string failure_;
    int16_t number_ = 1;
    fw::InputMode mode_ = fw::InputMode::Text;
    bool dtr_ = false;
};

} // namespace

std::unique_ptr<RateSettablePort> makeNetworkPort(PortDeviceOf deviceOf)
{
    return std::make_unique<RefusingPort>(std::move(deviceOf));
}

bool networkPortsBuiltIn() { return false; }

} // namespace fw::qt
