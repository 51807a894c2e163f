#include "link/TestLink.h"

#include "ground/Text.h"
#include "link/SendCommand.h"

namespace fw {

namespace {

constexpr const char* kLinkCommand = "ky nop";
constexpr const char* kLinkAnswer = "NOP";  // exact case: "nop" does not count

LinkAnswer judge(const Reply& reply)
{
    if (reply.lostToPortFailure()) return LinkAnswer::PortFailed;
    if (reply.text.empty()) return LinkAnswer::None;
    return contains(reply.text, kLinkAnswer) ? LinkAnswer::Nop : LinkAnswer::Other;
}

} // namespace

LinkCheck TestLink(Link& link)
{
    const Reply reply = exchange(link, kLinkCommand);
    return {judge(reply), reply.portFailure};
}

} // namespace fw
