#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>

#include "net/TelnetStream.h"

namespace fw::platform {

// The serial line settings a client asks an RFC 2217 server for.
enum class LineSetting { Rate, DataBits, Parity, StopBits };

// A server that set another value than the one asked for.
struct LineRefusal {
    LineSetting setting;
    uint32_t asked = 0;
    uint32_t answered = 0;
};

// The client side of a Telnet session with the COM-PORT-OPTION (RFC 2217):
// the bytes it sends and how it takes what the server says. It asks for
// 8-bit data and no go-ahead both ways, sets the line (rate, 8 data bits,
// no parity, 1 stop bit, no flow control, no line or modem state
// notifications) once the server agreed to the option, and checks each
// answer against what it asked. Notifications and answers it did not ask
// for are taken and dropped, never mistaken for data.
class ComPortClient {
public:
    // WILL and DO BINARY, WILL and DO SUPPRESS-GO-AHEAD, WILL COM-PORT-OPTION.
    std::string greeting();

    // Takes one command of the server; returns what to answer (often nothing).
    std::string take(const telnet::Command& command);

    // The server agreed to the COM-PORT-OPTION.
    bool agreed() const { return agreed_; }
    // The server refused the COM-PORT-OPTION or 8-bit data: it cannot carry the line.
    bool declined() const { return declined_; }

    // The line at this rate, 8N1, no flow control, DTR at this level.
    std::string setLine(uint32_t rate, bool dtr);
    // Every setting of the last setLine has been answered.
    bool lineAnswered() const { return awaited_.empty(); }
    // The first answer that differed from what was asked, for as long as the session lasts.
    const std::optional<LineRefusal>& refusal() const { return refusal_; }

    // Asks for the rate in force: the server's answer comes after it has read
    // everything sent before the question.
    std::string queryRate();
    // Rate answers so far: one for each setLine and each queryRate.
    uint64_t rateAnswers() const { return rateAnswers_; }

    std::string setDtr(bool level);
    // Drops what the server received from the line and has not sent yet.
    std::string purgeReceived();

private:
    void takeNegotiation(uint8_t verb, uint8_t option, std::string& reply);
    void takeAnswer(const std::string& payload);
    void check(LineSetting setting, uint32_t answered);

    std::set<uint8_t> will_;  // options we do
    std::set<uint8_t> do_;    // options we want the server to do
    bool agreed_ = false;
    bool declined_ = false;
    uint32_t rate_ = 0;
    std::set<LineSetting> awaited_;
    std::optional<LineRefusal> refusal_;
    uint64_t rateAnswers_ = 0;
};

} // namespace fw::platform
