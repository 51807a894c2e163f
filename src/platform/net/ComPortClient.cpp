#include "net/ComPortClient.h"

namespace fw::platform {

namespace {

using namespace telnet;

// COM-PORT-OPTION commands of the client; the server answers each with its
// code plus 100.
constexpr uint8_t kSetBaudRate = 1;
constexpr uint8_t kSetDataSize = 2;
constexpr uint8_t kSetParity = 3;
constexpr uint8_t kSetStopSize = 4;
constexpr uint8_t kSetControl = 5;
constexpr uint8_t kSetLineStateMask = 10;
constexpr uint8_t kSetModemStateMask = 11;
constexpr uint8_t kPurgeData = 12;
constexpr uint8_t kServerAnswer = 100;

constexpr uint8_t kEightDataBits = 8;
constexpr uint8_t kNoParity = 1;
constexpr uint8_t kOneStopBit = 1;
constexpr uint8_t kNoFlowControl = 1;
constexpr uint8_t kDtrOn = 8;
constexpr uint8_t kDtrOff = 9;
constexpr uint8_t kNoNotifications = 0;
constexpr uint8_t kPurgeReceiveBuffer = 1;
constexpr uint32_t kAskRate = 0;
constexpr std::size_t kRateLength = 4;     // bytes, most significant first
constexpr std::size_t kSettingLength = 1;

std::string command(uint8_t code, std::string value)
{
    return subnegotiation(kComPortOption, static_cast<char>(code) + value);
}

std::string byteValue(uint8_t value) { return std::string(1, static_cast<char>(value)); }

std::string rateValue(uint32_t rate)
{
    return {static_cast<char>(rate >> 24), static_cast<char>(rate >> 16), static_cast<char>(rate >> 8),
            static_cast<char>(rate)};
}

uint32_t numberIn(const std::string& value)
{
    uint32_t number = 0;
    for (const char c : value) number = number << 8 | static_cast<uint8_t>(c);
    return number;
}

bool wanted(uint8_t option) { return option == kBinary || option == kSuppressGoAhead; }

} // namespace

std::string ComPortClient::greeting()
{
    will_ = {kBinary, kSuppressGoAhead, kComPortOption};
    do_ = {kBinary, kSuppressGoAhead};
    return negotiation(kWill, kBinary) + negotiation(kDo, kBinary) + negotiation(kWill, kSuppressGoAhead) +
           negotiation(kDo, kSuppressGoAhead) + negotiation(kWill, kComPortOption);
}

std::string ComPortClient::take(const Command& command)
{
    std::string reply;
    if (command.verb == kSb) {
        if (command.option == kComPortOption && !command.payload.empty()) takeAnswer(command.payload);
    } else {
        takeNegotiation(command.verb, command.option, reply);
    }
    return reply;
}

// An answer only where the state changes, so two ends never loop (RFC 854).
void ComPortClient::takeNegotiation(uint8_t verb, uint8_t option, std::string& reply)
{
    const bool ours = wanted(option) || option == kComPortOption;
    switch (verb) {
    case kDo:
        if (!ours) reply += negotiation(kWont, option);
        else if (will_.insert(option).second) reply += negotiation(kWill, option);
        if (option == kComPortOption) agreed_ = true;
        break;
    case kDont:
        if (option == kComPortOption || option == kBinary) declined_ = true;
        if (will_.erase(option)) reply += negotiation(kWont, option);
        break;
    case kWill:
        if (!wanted(option)) reply += negotiation(kDont, option);
        else if (do_.insert(option).second) reply += negotiation(kDo, option);
        break;
    case kWont:
        if (option == kBinary) declined_ = true;
        if (do_.erase(option)) reply += negotiation(kDont, option);
        break;
    default: break;
    }
}

void ComPortClient::takeAnswer(const std::string& payload)
{
    const auto code = static_cast<uint8_t>(payload[0]);
    const std::string value = payload.substr(1);
    // An answer of another length than its setting's is no answer: its
    // last bytes must not pass for the value asked.
    const std::size_t length = code == kServerAnswer + kSetBaudRate ? kRateLength : kSettingLength;
    if (value.size() != length) return;
    switch (code) {
    case kServerAnswer + kSetBaudRate:
        ++rateAnswers_;
        check(LineSetting::Rate, numberIn(value));
        break;
    case kServerAnswer + kSetDataSize: check(LineSetting::DataBits, numberIn(value)); break;
    case kServerAnswer + kSetParity: check(LineSetting::Parity, numberIn(value)); break;
    case kServerAnswer + kSetStopSize: check(LineSetting::StopBits, numberIn(value)); break;
    default: break;  // notifications, control and purge answers
    }
}

void ComPortClient::check(LineSetting setting, uint32_t answered)
{
    awaited_.erase(setting);
    uint32_t asked = rate_;
    if (setting == LineSetting::DataBits) asked = kEightDataBits;
    if (setting == LineSetting::Parity) asked = kNoParity;
    if (setting == LineSetting::StopBits) asked = kOneStopBit;
    if (answered != asked && !refusal_) refusal_ = LineRefusal{setting, asked, answered};
}

std::string ComPortClient::setLine(uint32_t rate, bool dtr)
{
    rate_ = rate;
    awaited_ = {LineSetting::Rate, LineSetting::DataBits, LineSetting::Parity, LineSetting::StopBits};
    return command(kSetBaudRate, rateValue(rate)) + command(kSetDataSize, byteValue(kEightDataBits)) +
           command(kSetParity, byteValue(kNoParity)) + command(kSetStopSize, byteValue(kOneStopBit)) +
           command(kSetControl, byteValue(kNoFlowControl)) +
           command(kSetLineStateMask, byteValue(kNoNotifications)) +
           command(kSetModemStateMask, byteValue(kNoNotifications)) + setDtr(dtr);
}

std::string ComPortClient::queryRate() { return command(kSetBaudRate, rateValue(kAskRate)); }

std::string ComPortClient::setDtr(bool level) { return command(kSetControl, byteValue(level ? kDtrOn : kDtrOff)); }

std::string ComPortClient::purgeReceived() { return command(kPurgeData, byteValue(kPurgeReceiveBuffer)); }

} // namespace fw::platform
