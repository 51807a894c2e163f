#include "link/PortEvents.h"

#include "ground/PortError.h"
#include "ground/Text.h"

namespace fw {

namespace {

void takeReceivedText(Link& link)
{
    link.received += strip(link.port.input());
    link.port.setDtrEnable(!link.port.dtrEnable());
}

} // namespace

PortFailure takePortEvent(Link& link, CommEvent event)
{
    try {
        switch (event) {
        case CommEvent::Received: takeReceivedText(link); break;
        case CommEvent::OutputQueueFull: link.port.setPortOpen(false); break;
        default: break;
        }
    } catch (const PortError& e) {
        return e.code();
    }
    return std::nullopt;
}

} // namespace fw
