#include <gtest/gtest.h>

#include "SimRig.h"
#include "ground/Texts.h"
#include "window/ProjectorChecks.h"

using namespace fw;
using namespace fw::sim;

// Each answer of the model check as the window shows it: the verdict, the
// one message if any, and Upgrade SW and Open File afterwards (each set the
// other way before the check, so that the check must set it; without a list
// file Upgrade SW is off before and must stay off).
TEST(CheckModel, EachAnswerItsMessageAndTheButtonsItLeaves)
{
    struct Case {
        const char* name;
        ProjectorOptions projector;
        bool noListFile;
        bool passes;
        std::string message;
        bool upgrade, openFile;
    } cases[] = {
        {"matching model", {.modelName = "QT2416"}, false, true, "", true, true},
        {"other model", {.modelName = "QT1952"}, false, false, texts::ModelMismatch, false, true},
        {"silent projector", {.silent = true}, false, false, texts::LinkFailed, false, false},
        {"no list file", {.modelName = "QT2416"}, true, false, "", false, true},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        SimRig rig(t.projector);
        rig.tool.state.NoListFile = t.noListFile;
        rig.tool.state.package.UpImagePath = t.noListFile ? "" : "/fw/QT2416/up.bin";
        rig.tool.state.ListFileValid = true;
        rig.view.setEnabled(Control::cmdUpgradeSW, !t.upgrade && !t.noListFile);  // left as it was without a list
        rig.view.setEnabled(Control::cmdOpenFile1, !t.openFile);
        EXPECT_EQ(modelAllowsUpgrade(rig.tool), t.passes);
        EXPECT_EQ(rig.view.messageTexts(),
                  t.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{t.message});
        if (!t.message.empty()) {
            EXPECT_EQ(rig.view.messages()[0].style, MessageStyle::Critical);
        }
        EXPECT_EQ(rig.view.enabled(Control::cmdUpgradeSW), t.upgrade);
        EXPECT_EQ(rig.view.enabled(Control::cmdOpenFile1), t.openFile);
    }
}
