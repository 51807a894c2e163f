#include <gtest/gtest.h>

#include <functional>

#include "SimRig.h"
#include "transfer/DownloadProtocol.h"
#include "transfer/KeywordWait.h"

using namespace fw;
using namespace fw::sim;

namespace {

using Wait = std::function<int(Link&)>;

int asInt(bool found) { return found ? 1 : 0; }

const Wait confirmation = [](Link& l) { return asInt(waitForConfirmation(l)); };
const Wait lengthPrompt = [](Link& l) { return asInt(waitForLengthPrompt(l)); };
const Wait dataRequest = [](Link& l) { return asInt(waitForDataRequest(l)); };
const Wait verdict = [](Link& l) { return static_cast<int>(waitForVerdict(l)); };
const Wait restart = [](Link& l) { return asInt(waitForRestart(l)); };

constexpr int kSuccess = static_cast<int>(Verdict::Success);
constexpr int kFailure = static_cast<int>(Verdict::Failure);
constexpr int kUndecided = static_cast<int>(Verdict::Undecided);

} // namespace

// Each wait against what the loader has sent: its result and how many
// half-second pauses it took (each a little over 500 ms).
TEST(KeywordWait, EachWaitsVerdictAndItsPauses)
{
    struct Case {
        const char* name;
        const Wait& wait;
        std::string received;
        int result;
        int pauses;
    } cases[] = {
        {"question with 'y'", confirmation, "Download ('y'/'n') ?", 1, 0},
        {"question with 'Y' never confirms", confirmation, "Download ('Y'/'N') ?", 0, 61},
        {"question with both, 'Y' first", confirmation, "('Y'/'y')", 0, 61},
        {"length prompt", lengthPrompt, "\r\nImage length (40000H) : ", 1, 0},
        {"length prompt with lower-case h", lengthPrompt, "Length (40000h) : ", 0, 20},
        {"data request, after one pause", dataRequest, "send the file", 1, 1},
        {"data request capitalised", dataRequest, "File please", 1, 1},
        {"data request in capitals", dataRequest, "SEND FILE NOW", 0, 121},
        {"verdict", verdict, "\r\nRight!\r\n", kSuccess, 1},
        {"verdict in capitals", verdict, "RIGHT!", kUndecided, 8},
        {"verdict in capitals before the right one", verdict, "RIGHT! Right!", kUndecided, 8},
        {"no verdict", verdict, "Wrong image", kFailure, 8},
        {"restart banner", restart, "\r\nBOOT V2.10\r\n", 1, 0},
        {"restart banner in lower case", restart, "boot", 1, 0},
        {"no restart", restart, "", 0, 61},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimRig rig;
        rig.tool.link.received = c.received;
        const Micros start = rig.loop.now();
        EXPECT_EQ(c.wait(rig.tool.link), c.result);
        const Micros took = rig.loop.now() - start;
        EXPECT_GE(took, ms(500) * c.pauses);
        EXPECT_LE(took, ms(502) * c.pauses + ms(1));
        EXPECT_EQ(rig.port.bytesSent(), "");  // waits only listen
    }
}

// A verdict arriving during the polls counts from the poll after it came.
TEST(KeywordWait, VerdictArrivingLateIsSeenAtTheNextPoll)
{
    SimRig rig;
    rig.port.setPortOpen(true);
    rig.port.injectFromProjector(ms(2200), "Right!");
    EXPECT_EQ(waitForVerdict(rig.tool.link), Verdict::Success);
    EXPECT_GE(rig.loop.now(), ms(3000));
    EXPECT_LE(rig.loop.now(), ms(3020));
}

// The restart step: the banner clears what was received and the projector
// gets four seconds before anything else is sent.
TEST(DownloadSteps, RestartClearsTheReceivedTextAndWaitsFourSeconds)
{
    SimRig rig;
    rig.tool.link.received = "Right! ... BOOT";
    EXPECT_TRUE(awaitRestart(rig.tool.link));
    EXPECT_EQ(rig.tool.link.received, "");
    EXPECT_GE(rig.loop.now(), ms(4000));
    EXPECT_LE(rig.loop.now(), ms(4010));
}
