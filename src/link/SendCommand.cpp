#include "link/SendCommand.h"

#include "link/PortError.h"
#include "link/ReceiveHandler.h"
#include "shell/Text.h"
#include "shell/WindowOps.h"

namespace fw {

namespace {

constexpr int32_t kCharacterPauseMs = 10;  // keeps the output queue at one character
constexpr int32_t kEchoWaitMs = 2000;
constexpr int kMaxRepeats = 5;             // six sendings in all
constexpr int32_t kReplyWaitMs = 200;

void sendCharacters(Tool& tool, std::string_view command)
{
    for (char c : command) {
        tool.port.output(std::string_view(&c, 1));
        delay(tool.loop, kCharacterPauseMs);
    }
}

} // namespace

std::string echoKey(std::string_view command)
{
    if (command.size() <= 4) return {};
    return toUpperAscii(strip(command.substr(2, command.size() - 4)));
}

bool SendCommand(Tool& tool, std::string_view command)
{
    try {
        if (!tool.port.portOpen()) tool.port.setPortOpen(true);
        const std::string key = echoKey(command);
        for (int repeats = 0;; ++repeats) {
            sendCharacters(tool, command);
            tool.port.discardInput();
            tool.port.output("\r");
            delay(tool.loop, kEchoWaitMs);
            if (containsNoCase(tool.state.receiveBuffer, key)) return true;
            if (repeats == kMaxRepeats) return true;
        }
    } catch (const PortError& e) {
        setPortFailureStatus(tool, e.code());
        showStatusLine(tool, MessageStyle::Critical);
        return false;
    }
}

Reply exchange(Tool& tool, std::string_view command)
{
    tool.state.receiveBuffer.clear();
    Reply reply;
    reply.sent = SendCommand(tool, command);
    delay(tool.loop, kReplyWaitMs);
    reply.text = std::move(tool.state.receiveBuffer);
    tool.state.receiveBuffer.clear();
    return reply;
}

} // namespace fw
