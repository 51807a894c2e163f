#include "net/ServerFaults.h"

#include "ground/Texts.h"

namespace fw::platform {

namespace {

std::string settingText(LineSetting setting, uint32_t value)
{
    const std::string number = std::to_string(value);
    switch (setting) {
    case LineSetting::Rate: return number + texts::BitsPerSecond;
    case LineSetting::DataBits: return number + texts::DataBits;
    case LineSetting::Parity: return texts::ParityNumber + number;
    case LineSetting::StopBits: break;
    }
    return texts::StopBitsCode + number;
}

// The value asked for, without its unit where the answer named it already.
std::string askedText(LineSetting setting, uint32_t value)
{
    return setting == LineSetting::Rate || setting == LineSetting::DataBits ? std::to_string(value)
                                                                              : settingText(setting, value);
}

} // namespace

std::string serverFaultText(ServerFault fault, const std::string& hostAndPort, int seconds)
{
    const std::string server = texts::ServerAt + hostAndPort;
    switch (fault) {
    case ServerFault::Refused: return server + texts::ServerRefused;
    case ServerFault::NotFound: return server + texts::ServerNotFound;
    case ServerFault::Silent: return server + texts::ServerSilentFor + std::to_string(seconds) + texts::SecondsEnd;
    case ServerFault::Lost: return texts::ConnectionToServerAt + hostAndPort + texts::ServerLost;
    case ServerFault::StoppedTaking: return server + texts::ServerStoppedTaking;
    case ServerFault::NoLineControl: break;
    }
    return server + texts::ServerNoLineControl;
}

std::string lineRefusalText(const LineRefusal& refusal, const std::string& hostAndPort)
{
    return texts::ServerAt + hostAndPort + texts::ServerSetLine + settingText(refusal.setting, refusal.answered) +
           texts::NotAsked + askedText(refusal.setting, refusal.asked) + ".";
}

} // namespace fw::platform
