#pragma once

#include <string>
#include <string_view>

namespace fw {

struct Tool;

// Sends a command one character at a time, then CR, and waits for its echo,
// up to six sendings. True unless a port failure interrupted it (that failure
// has then been reported); a projector that never echoes is not a failure.
bool SendCommand(Tool& tool, std::string_view command);

// The part of a command the projector's echo must show: the command without
// its first two and last two characters, stripped, in upper case.
std::string echoKey(std::string_view command);

// One command exchange: clear the receive buffer, send, wait 200 ms, take
// the buffer as the reply and clear it.
struct Reply {
    bool sent = false;  // SendCommand's result
    std::string text;
};
Reply exchange(Tool& tool, std::string_view command);

} // namespace fw
