#pragma once

#include "link/Link.h"

namespace fw {

// How the projector answered the link test.
enum class LinkAnswer {
    Nop,         // "NOP" came back: the link works
    Other,       // a reply without "NOP"
    None,        // no reply at all
    PortFailed,  // the port failed and nothing came back
};

struct LinkCheck {
    LinkAnswer answer;
    PortFailure portFailure;  // set whenever the port failed, even if a reply came
    bool ok() const { return answer == LinkAnswer::Nop; }
};

// "ky nop" out, "NOP" (exactly that case) expected in the reply.
LinkCheck TestLink(Link& link);

} // namespace fw
