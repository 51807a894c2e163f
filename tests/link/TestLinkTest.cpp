#include <gtest/gtest.h>

#include "SimRig.h"
#include "ground/ModelName.h"
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

// The match, and the model as the technician knows it: the reply's word
// with the family mark, and the model number that matched the package's.
TEST(LinkSteps, ModelCheckAgainstTheImagePath)
{
    struct Case {
        const char* name;
        ProjectorOptions projector;
        std::string upImagePath;
        bool listFileKnown;
        ModelMatch match;
        const char* model;
        const char* number;
    } cases[] = {
        {"same model", {.modelName = "QT2416"}, "/fw/QT2416/up.bin", true, ModelMatch::Matches, "QT2416", "2416"},
        {"other model", {.modelName = "QT2416"}, "/fw/up_2436.bin", true, ModelMatch::Mismatch, "QT2416", ""},
        // A path naming two models is matched on the first in the table's order: 2416, 2436, 1952.
        {"1952 in a 2416 folder", {.modelName = "QT1952"}, "/fw/2416/up_1952.bin", true, ModelMatch::Mismatch,
         "QT1952", ""},
        {"2416 in a 2416 folder", {.modelName = "QT2416"}, "/fw/2416/up_1952.bin", true, ModelMatch::Matches,
         "QT2416", "2416"},
        {"no model in the path", {.modelName = "QT9999"}, "/fw/generic.bin", true, ModelMatch::Matches, "QT9999", ""},
        {"no list file", {.modelName = "QT2416"}, "", false, ModelMatch::NoPackage, "QT2416", ""},
        {"no family mark", {.modelName = "2416"}, "/fw/2416.bin", true, ModelMatch::NotAnswered, "", ""},
        {"family mark in lower case", {.modelName = "QT2416", .lowerCaseAnswers = true}, "/fw/2416.bin", true,
         ModelMatch::NotAnswered, "", ""},
        {"silent", {.silent = true}, "/fw/2416.bin", true, ModelMatch::NotAnswered, "", ""},
        // Where "QT" and the number stand in the reply does not matter; a prompt after the name is no model.
        {"named after a key, then a prompt", {.modelName = "model.name = QT-2416\r\n>"}, "/fw/QT2416_uP.bin", true,
         ModelMatch::Matches, "QT-2416", "2416"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimRig rig(c.projector);
        const ModelCheck check = CheckModel(rig.tool.link, c.upImagePath, c.listFileKnown);
        EXPECT_EQ(check.match, c.match);
        EXPECT_EQ(check.model, c.model);
        EXPECT_EQ(check.number, c.number);
        EXPECT_EQ(rig.port.bytesSent().substr(0, 16), "op model.name ?\r");
    }
}

// The model found in a reply as received: the word with the family mark,
// whatever stands around it.
TEST(LinkSteps, ModelNameInAReply)
{
    const struct {
        const char* reply;
        const char* model;
    } cases[] = {
        {"op model.name ?\r\r\nQT2416\r\n", "QT2416"},
        {"op model.name ?\r\r\nmodel.name = QT-2416\r\n>", "QT-2416"},
        {"model.name=QT-2436>", "QT-2436"},
        {"\"QT1952\"", "QT1952"},
        {"op model.name ?\r\r\n>", ""},
        {"qt2416", ""},
        {"", ""},
        {"ERR\x07 QT2416\x00junk", "QT2416"},
    };
    for (const auto& c : cases) EXPECT_EQ(modelNameIn(c.reply), c.model) << c.reply;
}
