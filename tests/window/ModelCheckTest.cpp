#include <gtest/gtest.h>

#include "SimRig.h"
#include "ground/Texts.h"
#include "window/ProjectorChecks.h"

using namespace fw;
using namespace fw::sim;

namespace {

const std::string kMismatch = texts::ModelMismatch;
const std::string kLinkFailed = texts::LinkFailed;

struct ModelRig {
    explicit ModelRig(ProjectorOptions options, std::string upImagePath) : rig(std::move(options))
    {
        rig.tool.state.package.UpImagePath = std::move(upImagePath);
        rig.tool.state.ListFileValid = true;
    }
    SimRig rig;
    bool run() { return modelAllowsUpgrade(rig.tool); }
    bool upgrade() const { return rig.view.enabled(Control::cmdUpgradeSW); }
    bool openFile() const { return rig.view.enabled(Control::cmdOpenFile1); }
};

} // namespace

// The projector's answer against the model in the uP image's path: the
// verdict, the one message if any, and Upgrade SW and Open File afterwards
// (both on before the check).
TEST(CheckModel, AnswersAgainstThePackagesModel)
{
    struct Case {
        const char* name;
        ProjectorOptions projector;
        std::string upImagePath;
        bool passes;
        std::string message;
        bool upgrade, openFile;
    } cases[] = {
        {"matching model", {.modelName = "QT2416"}, "/fw/QT2416/up.bin", true, "", true, true},
        {"other model", {.modelName = "QT2416"}, "/fw/up_2436.bin", false, kMismatch, false, true},
        {"no model in the path", {.modelName = "QT9999"}, "/fw/generic.bin", true, "", true, true},
        {"reply without the family mark", {.modelName = "2416"}, "/fw/2416.bin", false, kLinkFailed, false, false},
        {"silent projector", {.silent = true}, "/fw/2416.bin", false, kLinkFailed, false, false},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        ModelRig c(t.projector, t.upImagePath);
        c.rig.view.setEnabled(Control::cmdUpgradeSW, !t.upgrade);  // so that the check must set it
        EXPECT_EQ(c.run(), t.passes);
        EXPECT_EQ(c.rig.view.messageTexts(),
                  t.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{t.message});
        if (!t.message.empty()) {
            EXPECT_EQ(c.rig.view.messages()[0].style, MessageStyle::Critical);
        }
        EXPECT_EQ(c.upgrade(), t.upgrade);
        EXPECT_EQ(c.openFile(), t.openFile);
        EXPECT_EQ(c.rig.port.bytesSent().substr(0, 16), "op model.name ?\r");
    }
}

TEST(CheckModel, NoListFileNeverEnablesUpgrade)
{
    ModelRig c({.modelName = "QT2416"}, "");
    c.rig.tool.state.NoListFile = true;
    c.rig.view.setEnabled(Control::cmdUpgradeSW, false);
    c.rig.view.setEnabled(Control::cmdOpenFile1, false);
    EXPECT_FALSE(c.run());
    EXPECT_TRUE(c.rig.view.messages().empty());
    EXPECT_FALSE(c.upgrade());
    EXPECT_TRUE(c.openFile());
}
