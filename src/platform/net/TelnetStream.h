#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw::platform::telnet {

// The Telnet bytes the program uses (RFC 854, RFC 855).
inline constexpr uint8_t kSe = 240;
inline constexpr uint8_t kSb = 250;
inline constexpr uint8_t kWill = 251;
inline constexpr uint8_t kWont = 252;
inline constexpr uint8_t kDo = 253;
inline constexpr uint8_t kDont = 254;
inline constexpr uint8_t kIac = 255;

// Options: 8-bit data (RFC 856), no go-ahead (RFC 858), the serial line (RFC 2217).
inline constexpr uint8_t kBinary = 0;
inline constexpr uint8_t kSuppressGoAhead = 3;
inline constexpr uint8_t kComPortOption = 44;

// One command from the other end: an option negotiation (verb WILL, WONT,
// DO or DONT) or a subnegotiation (verb SB, its payload unescaped).
struct Command {
    uint8_t verb = 0;
    uint8_t option = 0;
    std::string payload;
};

// Data as it goes on the connection: every 0xFF doubled.
std::string escapeData(std::string_view data);

// IAC verb option.
std::string negotiation(uint8_t verb, uint8_t option);

// IAC SB option payload IAC SE, every 0xFF between SB and IAC SE doubled.
std::string subnegotiation(uint8_t option, std::string_view payload);

// Splits what arrives into data and commands. A command or a doubled 0xFF
// cut between two reads is completed by the next one; other two-byte
// commands (NOP, GA, ...) are dropped. A subnegotiation longer than any the
// program knows is read to its end and dropped, holding no more than that
// length however long it goes on; one broken by another command than SE is
// dropped and that command taken.
class Decoder {
public:
    void feed(std::string_view bytes, std::string& data, std::vector<Command>& commands);
    // Bytes held of a subnegotiation not yet ended.
    std::size_t held() const { return sub_.size(); }

    // No subnegotiation the program knows is longer.
    static constexpr std::size_t kLongestSubnegotiation = 1024;

private:
    enum class State { Data, Iac, Option, Sub, SubIac };
    void takeAfterIac(uint8_t byte, std::string& data);
    void keepInSubnegotiation(char c);
    void endSubnegotiation(std::vector<Command>& commands);

    State state_ = State::Data;
    uint8_t verb_ = 0;
    std::string sub_;
    bool subTooLong_ = false;
};

} // namespace fw::platform::telnet
