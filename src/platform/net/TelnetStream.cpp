#include "net/TelnetStream.h"

namespace fw::platform::telnet {

namespace {

char byteOf(uint8_t value) { return static_cast<char>(value); }

bool isNegotiationVerb(uint8_t byte) { return byte >= kWill && byte <= kDont; }

} // namespace

std::string escapeData(std::string_view data)
{
    std::string escaped;
    escaped.reserve(data.size() + data.size() / 64);
    for (const char c : data) {
        escaped += c;
        if (static_cast<uint8_t>(c) == kIac) escaped += c;
    }
    return escaped;
}

std::string negotiation(uint8_t verb, uint8_t option) { return {byteOf(kIac), byteOf(verb), byteOf(option)}; }

std::string subnegotiation(uint8_t option, std::string_view payload)
{
    // The decoder reads the option as the first byte of the payload: a 255 there is doubled too.
    return std::string{byteOf(kIac), byteOf(kSb)} + escapeData(byteOf(option) + std::string(payload)) +
           std::string{byteOf(kIac), byteOf(kSe)};
}

void Decoder::feed(std::string_view bytes, std::string& data, std::vector<Command>& commands)
{
    for (const char c : bytes) {
        const auto byte = static_cast<uint8_t>(c);
        switch (state_) {
        case State::Data:
            if (byte == kIac) state_ = State::Iac;
            else data += c;
            break;
        case State::Iac: takeAfterIac(byte, data); break;
        case State::Option:
            commands.push_back({verb_, byte, {}});
            state_ = State::Data;
            break;
        case State::Sub:
            if (byte == kIac) state_ = State::SubIac;
            else keepInSubnegotiation(c);
            break;
        case State::SubIac:
            if (byte == kIac) {
                keepInSubnegotiation(c);
                state_ = State::Sub;
            } else if (byte == kSe) {
                endSubnegotiation(commands);
                state_ = State::Data;
            } else {
                // A broken subnegotiation ends here; the command that broke it stands.
                sub_.clear();
                takeAfterIac(byte, data);
            }
            break;
        }
    }
}

void Decoder::takeAfterIac(uint8_t byte, std::string& data)
{
    state_ = State::Data;
    if (byte == kIac) {
        data += byteOf(kIac);
    } else if (isNegotiationVerb(byte)) {
        verb_ = byte;
        state_ = State::Option;
    } else if (byte == kSb) {
        sub_.clear();
        subTooLong_ = false;
        state_ = State::Sub;
    }
}

void Decoder::keepInSubnegotiation(char c)
{
    if (sub_.size() < kLongestSubnegotiation) sub_ += c;
    else subTooLong_ = true;
}

void Decoder::endSubnegotiation(std::vector<Command>& commands)
{
    if (!sub_.empty() && !subTooLong_) commands.push_back({kSb, static_cast<uint8_t>(sub_[0]), sub_.substr(1)});
    sub_.clear();
}

} // namespace fw::platform::telnet
