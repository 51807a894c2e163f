#include <gtest/gtest.h>

#include "SimRig.h"
#include "link/ReceiveHandler.h"
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

TEST_F(ReceiveHandler, ChunksAreJoinedWithoutTheirOuterSpacesButKeepInnerOnes)
{
    arrive(ms(10), "AB ");
    arrive(ms(20), " C D");
    EXPECT_EQ(rig.tool.state.receiveBuffer, "ABC D");
}

TEST_F(ReceiveHandler, LineEndsAndOtherWhiteSpaceStay)
{
    arrive(ms(10), "\r\nNOP\t\r\n ");
    EXPECT_EQ(rig.tool.state.receiveBuffer, "\r\nNOP\t\r\n");
}

TEST_F(ReceiveHandler, AppendsAfterWhatTheBufferAlreadyHolds)
{
    rig.tool.state.receiveBuffer = "earlier";
    arrive(ms(10), "later");
    EXPECT_EQ(rig.tool.state.receiveBuffer, "earlierlater");
}

TEST_F(ReceiveHandler, EveryReceiveEventInvertsDtrEvenForOnlySpaces)
{
    const bool before = rig.port.dtrEnable();
    arrive(ms(10), "   ");
    EXPECT_EQ(rig.tool.state.receiveBuffer, "");
    EXPECT_NE(rig.port.dtrEnable(), before);
    arrive(ms(20), "x");
    EXPECT_EQ(rig.port.dtrEnable(), before);
}

TEST_F(ReceiveHandler, FullOutputQueueClosesThePortAndTheNextCommandReopensIt)
{
    MSComm1_OnComm(rig.tool, CommEvent::OutputQueueFull);
    EXPECT_FALSE(rig.port.portOpen());

    rig.tool.state.receiveBuffer.clear();
    EXPECT_TRUE(SendCommand(rig.tool, "ky nop"));
    EXPECT_TRUE(rig.port.portOpen());
    EXPECT_EQ(rig.port.bytesSent(), "ky nop\r");
    EXPECT_TRUE(rig.view.messages().empty());
}

TEST_F(ReceiveHandler, OtherEventsChangeNothing)
{
    for (CommEvent e : {CommEvent::OutputThreshold, CommEvent::DsrChange, CommEvent::CdChange, CommEvent::Ring,
                        CommEvent::EndOfFile})
        MSComm1_OnComm(rig.tool, e);
    EXPECT_TRUE(rig.port.portOpen());
    EXPECT_EQ(rig.tool.state.receiveBuffer, "");
}

TEST_F(ReceiveHandler, ReadFailureOnAClosedPortReportsTheLinkFailure)
{
    rig.port.setPortOpen(false);
    MSComm1_OnComm(rig.tool, CommEvent::Received);
    ASSERT_EQ(rig.view.messages().size(), 1u);
    EXPECT_EQ(rig.view.messages()[0].text, "Communication with projector failed.");
    EXPECT_EQ(rig.view.messages()[0].style, MessageStyle::Critical);
    EXPECT_EQ(rig.tool.state.statusLine, "Communication with projector failed.");
}
