#pragma once

#include "ModalAnswerer.h"
#include "PackageMaker.h"
#include "ProjectorModel.h"
#include "SimProcessRunner.h"
#include "SimSerialPort.h"
#include "TempFolder.h"
#include "VirtualEventLoop.h"
#include "qt/WindowSession.h"

// The real windows on the projector model and the virtual clock: the
// simulated port on port 1, and a technician answering every box and
// dialog. The flows run elsewhere; here only what reaches the handlers.
struct GuiRig {
    explicit GuiRig(fw::sim::ProjectorOptions options = {})
        : projector(std::move(options)), port(loop, projector), processes(loop)
    {
        session.setProgramEnd([this] {
            ++programEnds;
            portOpenAtEnd = port.portOpen();
        });
    }

    fw::qt::Form2& form2() { return session.form2(); }
    fw::qt::QtView& view() { return session.view(); }
    fw::Tool& tool() { return session.tool(); }
    void rememberListFile(const std::string& path)
    {
        fw::testing::writeFile(session.tool().settingsPath(), "[PATH]\r\nFILE=" + path + "\r\n");
    }

    fw::sim::VirtualEventLoop loop;
    fw::sim::ProjectorModel projector;
    fw::sim::SimSerialPort port;
    fw::sim::SimProcessRunner processes;
    fw::sim::TempFolder programFolder;
    fw::sim::TempFolder workFolder;
    ModalAnswerer technician;
    fw::qt::WindowSession session{port, loop, processes, programFolder.str(), workFolder.str()};
    int programEnds = 0;
    bool portOpenAtEnd = true;
};
