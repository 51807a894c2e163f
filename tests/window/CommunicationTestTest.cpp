#include <gtest/gtest.h>

#include "PackageMaker.h"
#include "SimRig.h"
#include "ground/Texts.h"
#include "window/ProjectorChecks.h"

using namespace fw;
using namespace fw::sim;

// The button's endings: the boxes in order (the last one's style), the
// three work buttons afterwards, and what went out.
TEST(CommunicationTestButton, EndingsAndTheButtonsTheyLeave)
{
    struct Case {
        const char* name;
        ProjectorOptions projector;
        bool validPackage;
        int16_t port;
        std::vector<std::string> messages;
        MessageStyle lastStyle;
        bool upgrade, openFile, test;
        std::string sent;  // empty: not looked at
    } cases[] = {
        {"no package", {}, false, 1, {texts::TestOk}, MessageStyle::Information, false, true, true, "ky nop\r"},
        {"matching package", {}, true, 1, {texts::TestOk}, MessageStyle::Information, true, true, true,
         "ky nop\rop model.name ?\r"},
        {"other model", {.modelName = "QT1952"}, true, 1, {texts::ModelMismatch, texts::TestOk}, MessageStyle::Information, false,
         true, true, ""},
        {"silent projector", {.silent = true}, false, 1, {texts::LinkFailed}, MessageStyle::Critical, false, false,
         false, ""},
        {"lower-case nop", {.lowerCaseAnswers = true}, false, 1, {"Test failed!"}, MessageStyle::Critical, false, false,
         false, ""},
        {"invalid port", {}, false, 9, {"COM9 is invalid. Please select an available RS232 port."},
         MessageStyle::Critical, false, false, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimRig rig(c.projector);
        if (c.validPackage) rig.tool.state.listFilePath = fw::testing::makePackage(rig.workFolder.str()).listFile;
        rig.port.setCommPort(c.port);
        rig.view.portList = std::to_string(c.port);
        cmdTest_Click(rig.tool);

        ASSERT_EQ(rig.view.messageTexts(), c.messages);
        EXPECT_EQ(rig.view.messages().back().style, c.lastStyle);
        EXPECT_EQ(rig.view.enabled(Control::cmdUpgradeSW), c.upgrade);
        EXPECT_EQ(rig.view.enabled(Control::cmdOpenFile1), c.openFile);
        EXPECT_EQ(rig.view.enabled(Control::cmdTest), c.test);
        if (!c.sent.empty()) {
            EXPECT_EQ(rig.port.bytesSent(), c.sent);
        }
    }
}
