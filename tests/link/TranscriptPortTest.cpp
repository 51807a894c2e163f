#include <gtest/gtest.h>

#include "SimRig.h"
#include "ground/Numbers.h"
#include "link/SendCommand.h"
#include "link/TranscriptPort.h"

using namespace fw;
using namespace fw::sim;

TEST(Transcript, RecordsEveryByteEachWayInOrderWithItsTimeEscapingWhatIsNotPrintable)
{
    VirtualEventLoop loop;
    ProjectorModel projector;
    SimSerialPort wire(loop, projector);
    std::vector<std::string> lines;
    TranscriptPort port(wire, loop, [&](const std::string& line) { lines.push_back(line); });
    RecordingView view(loop);
    SimProcessRunner processes(loop);
    Tool tool(port, loop, view, processes, "/nonexistent", "/nonexistent");

    const Reply reply = exchange(tool.link, "ky nop");
    ASSERT_NE(reply.text.find("NOP"), std::string::npos);

    std::string sent, received;
    for (const auto& l : lines) {
        if (l.find(" >> ") != std::string::npos) sent += l.substr(l.find(" >> ") + 4);
        if (l.find(" << ") != std::string::npos) received += l.substr(l.find(" << ") + 4);
    }
    EXPECT_EQ(lines.front(), "     0.000 == open");
    EXPECT_EQ(sent, "ky nop<0D>");
    EXPECT_NE(received.find("<0D><0A>NOP<0D><0A>"), std::string::npos);
    double previous = 0;
    for (const auto& l : lines) {
        const double stamp = leadingNumber(l.substr(0, 10));
        EXPECT_GE(stamp, previous) << l;
        previous = stamp;
    }
    EXPECT_GT(previous, 0.066);  // six paced characters before the answer
    EXPECT_EQ(TranscriptPort::escape(std::string("a<\x00\xff", 4)), "a<3C><00><FF>");  // all but the printable
}
