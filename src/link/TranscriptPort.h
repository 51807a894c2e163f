#pragma once

#include <functional>
#include <string>

#include "ground/EventLoop.h"
#include "ground/SerialPort.h"

namespace fw {

// A port that records every byte sent and received, with the seconds since
// it was made, one line each: the service record of one projector.
class TranscriptPort : public SerialPort {
public:
    using Sink = std::function<void(const std::string& line)>;
    TranscriptPort(SerialPort& inner, const EventLoop& clock, Sink sink);

    bool portOpen() const override { return inner_.portOpen(); }
    void setPortOpen(bool open) override;
    int16_t commPort() const override { return inner_.commPort(); }
    void setCommPort(int16_t number) override { inner_.setCommPort(number); }
    InputMode inputMode() const override { return inner_.inputMode(); }
    void setInputMode(InputMode mode) override { inner_.setInputMode(mode); }
    void output(std::string_view bytes) override;
    std::size_t outputPending() override { return inner_.outputPending(); }
    std::string input() override;
    std::size_t inputWaiting() override { return inner_.inputWaiting(); }
    void discardInput() override { inner_.discardInput(); }
    bool dtrEnable() const override { return inner_.dtrEnable(); }
    void setDtrEnable(bool level) override { inner_.setDtrEnable(level); }
    void setEventHandler(EventHandler handler) override { inner_.setEventHandler(std::move(handler)); }
    std::string failureDetail() const override { return inner_.failureDetail(); }

    // Printable form of raw bytes: text as is, everything else as <XX>.
    static std::string escape(std::string_view bytes);

private:
    void record(const char* direction, std::string_view bytes);

    SerialPort& inner_;
    const EventLoop& clock_;
    Sink sink_;
    uint32_t start_;
};

} // namespace fw
