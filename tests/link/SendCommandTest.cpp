#include <gtest/gtest.h>

#include "SimRig.h"
#include "link/SendCommand.h"
#include "window/PortMessages.h"

using namespace fw;
using namespace fw::sim;

namespace {

std::vector<WireRecord> sent(const SimSerialPort& port)
{
    std::vector<WireRecord> out;
    for (const auto& r : port.wire())
        if (r.direction == Direction::ToProjector) out.push_back(r);
    return out;
}

std::string repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

} // namespace

TEST(SendCommand, SilentProjectorGetsSixSendingsInAboutTwelveSeconds)
{
    SimRig rig({.silent = true});
    const Reply reply = exchange(rig.tool.link, "ky nop");

    EXPECT_FALSE(reply.portFailure);
    EXPECT_EQ(reply.text, "");
    EXPECT_EQ(rig.port.bytesSent(), repeat("ky nop\r", 6));
    EXPECT_GT(rig.loop.now(), ms(12300));
    EXPECT_LT(rig.loop.now(), ms(12700));
    EXPECT_TRUE(rig.view.messages().empty());  // the caller decides what to say
}

TEST(SendCommand, EchoingProjectorIsSatisfiedByTheFirstSending)
{
    SimRig rig;
    const Reply reply = exchange(rig.tool.link, "ky nop");

    EXPECT_FALSE(reply.portFailure);
    EXPECT_EQ(rig.port.bytesSent(), "ky nop\r");
    EXPECT_NE(reply.text.find("NOP"), std::string::npos);
    // six paced characters, 2000 ms after the CR, then the 200 ms reply wait
    EXPECT_GT(rig.loop.now(), ms(6 * 10 + 2000 + 200));
    EXPECT_LT(rig.loop.now(), ms(6 * 12 + 2002 + 202));
    EXPECT_EQ(rig.tool.link.received, "");  // the exchange clears it after taking the reply
}

TEST(SendCommand, CharactersGoOutOneAtATimeMoreThanTenMillisecondsApartThenOneCr)
{
    SimRig rig;
    SendCommand(rig.tool.link, "op model.name ?");
    const auto writes = sent(rig.port);
    ASSERT_EQ(writes.size(), 16u);
    for (std::size_t i = 0; i < 15; ++i) {
        EXPECT_EQ(writes[i].bytes, std::string(1, std::string("op model.name ?")[i]));
        EXPECT_GT(writes[i + 1].at - writes[i].at, ms(10));
    }
    EXPECT_EQ(writes[15].bytes, "\r");
}

TEST(SendCommand, EchoKeyIsFoundInAnyLetterCase)
{
    SimRig rig({.echo = false, .answer = false});
    rig.tool.port.setPortOpen(true);
    rig.port.injectFromProjector(ms(50), "Model.Name");
    EXPECT_FALSE(SendCommand(rig.tool.link, "op model.name ?"));
    EXPECT_EQ(rig.port.bytesSent(), "op model.name ?\r");
}

TEST(SendCommand, TextAlreadyInTheBufferSatisfiesTheKey)
{
    SimRig rig({.silent = true});
    rig.tool.link.received += 'n';  // not assigned: GCC 12 -O2 takes that for an overlapping copy (-Wrestrict)
    EXPECT_FALSE(SendCommand(rig.tool.link, "ky nop"));
    EXPECT_EQ(rig.port.bytesSent(), "ky nop\r");
}

// Text that came in while the characters went out, and that the receive
// event has not yet taken, is dropped before the CR: it cannot pass for the
// echo.
TEST(SendCommand, InputWaitingBeforeTheCrIsDropped)
{
    SimRig rig({.silent = true});
    rig.port.setPortOpen(true);
    rig.port.setReceiveEventDelay(ms(40));
    rig.port.injectFromProjector(ms(50), "KY NOP");  // the key itself, just before the CR
    EXPECT_FALSE(SendCommand(rig.tool.link, "ky nop"));
    EXPECT_EQ(rig.tool.link.received.find("NOP"), std::string::npos);
    EXPECT_EQ(rig.port.bytesSent(), repeat("ky nop\r", 6));  // so no sending counted as echoed
}

TEST(SendCommand, ClosedPortIsOpenedFirst)
{
    SimRig rig;
    ASSERT_FALSE(rig.port.portOpen());
    EXPECT_FALSE(SendCommand(rig.tool.link, "ky nop"));
    EXPECT_TRUE(rig.port.portOpen());
    EXPECT_EQ(rig.port.opens(), 1u);
}

// A port that cannot be used ends the command at once: nothing more goes
// out and one critical box says why.
TEST(SendCommand, PortFailuresEndItAtOnceWithOneBox)
{
    const std::string kLinkFailed = "Communication with projector failed.";
    struct Case {
        const char* name;
        void (*breakPort)(SimRig&);
        std::string sent, message;
    } cases[] = {
        {"no such port, named from the dialog's list text",
         [](SimRig& r) {
             r.port.setCommPort(9);
             r.view.setPortListText("9");
         },
         "", "COM9 is invalid. Please select an available RS232 port."},
        {"held by another program", [](SimRig& r) { r.port.setAvailability(1, PortAvailability::HeldByOther); }, "",
         kLinkFailed},
        {"device failing mid-command", [](SimRig& r) { r.port.failDeviceAfterBytes(3); }, "ky ", kLinkFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimRig rig;
        c.breakPort(rig);
        reportPortFailure(rig.tool, SendCommand(rig.tool.link, "ky nop"));
        EXPECT_EQ(rig.port.bytesSent(), c.sent);
        ASSERT_EQ(rig.view.messageTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(rig.view.messages()[0].style, MessageStyle::Critical);
        EXPECT_EQ(rig.tool.state.statusLine, c.message);
    }
}
