#include "link/SendCommand.h"

#include "ground/PortError.h"
#include "ground/Text.h"

namespace fw {

namespace {

constexpr int32_t kCharacterPauseMs = 10;  // keeps the output queue at one character
constexpr int32_t kEchoWaitMs = 2000;
constexpr int kMaxRepeats = 5;             // six sendings in all
constexpr int32_t kReplyWaitMs = 200;
// A driver may tell of received bytes late (wine, some USB adapters): what
// it holds before the CR is taken as a prompt driver takes it, waiting at
// most this long; a prompt driver holds nothing there and waits not at all.
constexpr uint32_t kLateInputLimitMs = 250;
constexpr int32_t kLateInputPollMs = 1;

void sendCharacters(Link& link, std::string_view command)
{
    for (char c : command) {
        link.port.output(std::string_view(&c, 1));
        delay(link.loop, kCharacterPauseMs);
    }
}

// The echo of the characters may still wait for its receive event: it
// counts as echo, as it does where the driver tells of it at once.
void awaitToldInput(Link& link)
{
    const uint32_t start = link.loop.tickCount();
    while (link.port.inputWaiting() > 0 && link.loop.tickCount() - start < kLateInputLimitMs)
        delay(link.loop, kLateInputPollMs);
}

} // namespace

std::string echoKey(std::string_view command)
{
    if (command.size() <= 4) return {};
    return toUpperAscii(strip(command.substr(2, command.size() - 4)));
}

PortFailure SendCommand(Link& link, std::string_view command)
{
    try {
        if (!link.port.portOpen()) link.port.setPortOpen(true);
        const std::string key = echoKey(command);
        for (int repeats = 0;; ++repeats) {
            sendCharacters(link, command);
            awaitToldInput(link);
            // Whatever comes in from now until the CR is not the echo.
            link.port.discardInput();
            link.port.output("\r");
            delay(link.loop, kEchoWaitMs);
            if (containsNoCase(link.received, key)) return std::nullopt;
            if (repeats == kMaxRepeats) return std::nullopt;
        }
    } catch (const PortError& e) {
        return e.code();
    }
}

Reply exchange(Link& link, std::string_view command)
{
    link.received.clear();
    Reply reply;
    reply.portFailure = SendCommand(link, command);
    delay(link.loop, kReplyWaitMs);
    reply.text = std::move(link.received);
    link.received.clear();
    return reply;
}

} // namespace fw
