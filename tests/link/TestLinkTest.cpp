#include <gtest/gtest.h>

#include "SimRig.h"
#include "ground/PortError.h"
#include "link/CheckModel.h"
#include "link/TestLink.h"

using namespace fw;
using namespace fw::sim;

// The link test and the model check as steps: what the projector answered,
// and the port's failure when there was one.
TEST(LinkSteps, LinkTestAnswers)
{
    struct Case {
        const char* name;
        ProjectorOptions projector;
        PortAvailability port;
        LinkAnswer answer;
        PortFailure failure;
    } cases[] = {
        {"answers NOP", {}, PortAvailability::Projector, LinkAnswer::Nop, {}},
        {"answers only in lower case", {.lowerCaseAnswers = true}, PortAvailability::Projector, LinkAnswer::Other, {}},
        {"silent", {.silent = true}, PortAvailability::Projector, LinkAnswer::None, {}},
        {"nobody on the line", {}, PortAvailability::NothingConnected, LinkAnswer::None, {}},
        {"no such port", {}, PortAvailability::Missing, LinkAnswer::PortFailed, kInvalidPort},
        {"held by another program", {}, PortAvailability::HeldByOther, LinkAnswer::PortFailed, kPortAlreadyOpen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimRig rig(c.projector);
        rig.port.setAvailability(1, c.port);
        const LinkCheck check = TestLink(rig.tool.link);
        EXPECT_EQ(check.answer, c.answer);
        EXPECT_EQ(check.portFailure, c.failure);
        EXPECT_TRUE(rig.view.messages().empty());  // steps never show anything
    }
}

TEST(LinkSteps, ModelCheckAgainstTheImagePath)
{
    struct Case {
        const char* name;
        ProjectorOptions projector;
        std::string upImagePath;
        bool listFileKnown;
        ModelMatch match;
    } cases[] = {
        {"same model", {.modelName = "QT2416"}, "/fw/QT2416/up.bin", true, ModelMatch::Matches},
        {"other model", {.modelName = "QT2416"}, "/fw/up_2436.bin", true, ModelMatch::Mismatch},
        // A path naming two models is matched on the first in the table's order: 2416, 2436, 1952.
        {"1952 in a 2416 folder", {.modelName = "QT1952"}, "/fw/2416/up_1952.bin", true, ModelMatch::Mismatch},
        {"2416 in a 2416 folder", {.modelName = "QT2416"}, "/fw/2416/up_1952.bin", true, ModelMatch::Matches},
        {"no model in the path", {.modelName = "QT9999"}, "/fw/generic.bin", true, ModelMatch::Matches},
        {"no list file", {.modelName = "QT2416"}, "", false, ModelMatch::NoPackage},
        {"no family mark", {.modelName = "2416"}, "/fw/2416.bin", true, ModelMatch::NotAnswered},
        {"family mark in lower case", {.modelName = "QT2416", .lowerCaseAnswers = true}, "/fw/2416.bin", true,
         ModelMatch::NotAnswered},
        {"silent", {.silent = true}, "/fw/2416.bin", true, ModelMatch::NotAnswered},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimRig rig(c.projector);
        EXPECT_EQ(CheckModel(rig.tool.link, c.upImagePath, c.listFileKnown).match, c.match);
        EXPECT_EQ(rig.port.bytesSent().substr(0, 16), "op model.name ?\r");
    }
}
