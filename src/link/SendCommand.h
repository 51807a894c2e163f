#pragma once

#include <string>
#include <string_view>

#include "link/Link.h"

namespace fw {

// Sends a command one character at a time, then CR, and waits for its echo,
// up to six sendings. A projector that never echoes is not a failure; a port
// that fails is, and stops the sending at once.
PortFailure SendCommand(Link& link, std::string_view command);

// The part of a command the projector's echo must show: the command without
// its first two and last two characters, stripped, in upper case.
std::string echoKey(std::string_view command);

// One command exchange: clear what was received, send, wait 200 ms, take
// the received text as the reply and clear it.
struct Reply {
    PortFailure portFailure;  // what stopped the sending, if anything
    std::string text;
    // Nothing came back because the port failed: there is nothing to judge.
    bool lostToPortFailure() const { return portFailure && text.empty(); }
};
Reply exchange(Link& link, std::string_view command);

} // namespace fw
