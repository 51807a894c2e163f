#include <gtest/gtest.h>

#include "SimRig.h"
#include "ground/PortError.h"
#include "ground/Texts.h"
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


struct ReceiveHandler : ::testing::Test {
    SimRig rig;
    void SetUp() override { rig.port.setPortOpen(true); }
    void arrive(Micros at, std::string text)
    {
        rig.port.injectFromProjector(at, std::move(text));
        rig.loop.runUntil(at + ms(5));
    }
};

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

// A driver that tells of received bytes late: what it holds before the CR
// is taken as a prompt driver would have taken it, for at most a quarter of
// a second; beyond that it is dropped with the discard and cannot pass for
// the echo. The bytes sent are those of a prompt driver either way.
TEST(SendCommand, InputToldLateBeforeTheCrCountsWithinAQuarterSecond)
{
    const struct {
        int lateMs;
        bool echoed;
    } cases[] = {{40, true}, {200, true}, {400, false}};
    for (const auto& c : cases) {
        SimRig rig({.silent = true});
        rig.port.setPortOpen(true);
        rig.port.setReceiveEventDelay(ms(c.lateMs));
        rig.port.injectFromProjector(ms(50), "KY NOP");  // the key, just before the CR
        EXPECT_FALSE(SendCommand(rig.tool.link, "ky nop"));
        EXPECT_EQ(rig.tool.link.received.find("NOP") != std::string::npos, c.echoed) << c.lateMs;
        EXPECT_EQ(rig.port.bytesSent(), repeat("ky nop\r", c.echoed ? 1 : 6)) << c.lateMs;
    }
}

// A device that fails mid-command ends it at once: nothing more goes out,
// and the failure is the step's outcome (the ports that cannot be opened at
// all are the link test's cases).
TEST(SendCommand, DeviceFailingMidCommandEndsItAtOnce)
{
    SimRig rig;
    rig.port.failDeviceAfterBytes(3);
    EXPECT_EQ(SendCommand(rig.tool.link, "ky nop"), PortFailure{kPortDeviceFailure});
    EXPECT_EQ(rig.port.bytesSent(), "ky ");
    EXPECT_TRUE(rig.view.messages().empty());
}

// Each chunk loses its outer spaces (only the space character) and is
// appended to what the buffer holds.
TEST(ReceiveBuffer, ChunksJoinWithoutTheirOuterSpaces)
{
    struct Case {
        std::vector<std::string> chunks;
        std::string after;
    } cases[] = {
        {{"AB ", " C D"}, "ABC D"},
        {{"\r\nNOP\t\r\n "}, "\r\nNOP\t\r\n"},
    };
    for (const Case& c : cases) {
        SimRig rig;
        rig.port.setPortOpen(true);
        for (std::size_t i = 0; i < c.chunks.size(); ++i) rig.port.injectFromProjector(ms(10 * (i + 1)), c.chunks[i]);
        rig.loop.runUntil(ms(100));
        EXPECT_EQ(rig.tool.link.received, c.after) << c.chunks[0];
    }
}

TEST_F(ReceiveHandler, EveryReceiveEventInvertsDtrEvenForOnlySpaces)
{
    const bool before = rig.port.dtrEnable();
    arrive(ms(10), "   ");
    EXPECT_EQ(rig.tool.link.received, "");
    EXPECT_NE(rig.port.dtrEnable(), before);
    arrive(ms(20), "x");
    EXPECT_EQ(rig.port.dtrEnable(), before);
}

TEST_F(ReceiveHandler, FullOutputQueueClosesThePortAndTheNextCommandReopensIt)
{
    MSComm1_OnComm(rig.tool, CommEvent::OutputQueueFull);
    EXPECT_FALSE(rig.port.portOpen());

    rig.tool.link.received.clear();
    EXPECT_FALSE(SendCommand(rig.tool.link, "ky nop"));
    EXPECT_TRUE(rig.port.portOpen());
    EXPECT_EQ(rig.port.bytesSent(), "ky nop\r");
    EXPECT_TRUE(rig.view.messages().empty());
}

TEST_F(ReceiveHandler, ReadFailureOnAClosedPortReportsTheLinkFailure)
{
    rig.port.setPortOpen(false);
    MSComm1_OnComm(rig.tool, CommEvent::Received);
    ASSERT_EQ(rig.view.messages().size(), 1u);
    EXPECT_EQ(rig.view.messages()[0].text, texts::LinkFailed);
    EXPECT_EQ(rig.view.messages()[0].style, MessageStyle::Critical);
    EXPECT_EQ(rig.tool.state.statusLine, texts::LinkFailed);
}
