#include "window/MainWindow.h"

#include <cstdio>

#include "ground/Numbers.h"
#include "ground/PortError.h"
#include "ground/Texts.h"
#include "window/ProjectorChecks.h"
#include "window/PortMessages.h"
#include "window/Settings.h"
#include "window/Telling.h"
#include "window/WindowOps.h"

namespace fw {

namespace {

// Opens the port and, for a remembered valid package, checks that the
// projector answers and matches it.
void openPortAndCheckProjector(Tool& tool)
{
    tool.port.setPortOpen(true);
    if (tool.state.ListFileValid) {
        if (!linkAnswers(tool).ok()) {
            disableWorkButtons(tool);
            return;
        }
        if (tool.state.ListFileValid && !modelAllowsUpgrade(tool)) tool.view.setEnabled(Control::cmdUpgradeSW, false);
    }
    tool.view.setEnabled(Control::cmdOpenFile1, true);
    tool.view.setEnabled(Control::cmdTest, true);
}

} // namespace

void Form_Load(Tool& tool)
{
    tool.state.DownloadBusy = false;
    tool.state.NoListFile = false;
    tool.view.setCaption(Caption::WindowTitle, std::string(texts::ProgramTitle) + " " + texts::ProgramVersion);
    try {
        Load_Setting(tool);
        if (!tool.port.portOpen()) openPortAndCheckProjector(tool);
    } catch (const PortError& e) {
        reportPortSetupFailure(tool, e);
        disableWorkButtons(tool);
    } catch (const NumberError&) {
        disableWorkButtons(tool);  // a stored number out of range shows nothing
    }
}

bool Form_QueryUnload(Tool& tool)
{
    if (!tool.state.DownloadBusy) return false;
    return showMessage(tool, texts::CloseWhileBusy, MessageStyle::Question) != Answer::Yes;
}

void Form_Unload(Tool& tool)
{
    tool.view.setBusyPointer(false);
    tool.processes.stopAll();  // an ISP tool left running would keep the port
    try {
        tool.port.setPortOpen(false);
    } catch (const PortError&) {
        // closing is best effort: the program ends anyway
    }
}

bool pExit_Click(Tool& tool) { return showMessage(tool, texts::ExitQuestion, MessageStyle::Question) == Answer::Yes; }

std::string elapsedText(int32_t seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02ld:%02ld", static_cast<long>(seconds / 60), static_cast<long>(seconds % 60));
    return text;
}

void Timer1_Timer(Tool& tool)
{
    ++tool.state.ElapsedSeconds;
    tool.view.setCaption(Caption::Form3Label2, elapsedText(tool.state.ElapsedSeconds));
}

} // namespace fw
