#include <gtest/gtest.h>

#include "ground/Texts.h"
#include "SimRig.h"
#include "window/PortMessages.h"
#include "link/SendCommand.h"

using namespace fw;
using namespace fw::sim;

namespace {

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
