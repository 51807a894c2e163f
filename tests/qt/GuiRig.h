#pragma once

#include <QCoreApplication>
#include <memory>

#include "ModalAnswerer.h"
#include "PackageMaker.h"
#include "ProjectorModel.h"
#include "SimProcessRunner.h"
#include "SimSerialPort.h"
#include "TempFolder.h"
#include "VirtualEventLoop.h"
#include "isp/SimIspTool.h"
#include "qt/WindowSession.h"

// The simulator's clock, with the window's own events handled at every
// yield as well: a close request or a menu click posted to Qt reaches the
// window while the logic waits on the virtual clock.
class VirtualClockWithWindowEvents final : public fw::EventLoop {
public:
    explicit VirtualClockWithWindowEvents(fw::sim::VirtualEventLoop& clock) : clock_(clock) {}
    uint32_t tickCount() const override { return clock_.tickCount(); }
    void processPendingEvents() override
    {
        QCoreApplication::processEvents();
        clock_.processPendingEvents();
    }
    void waitForEvents(uint32_t maxMs) override
    {
        QCoreApplication::processEvents();
        clock_.waitForEvents(maxMs);
    }

private:
    fw::sim::VirtualEventLoop& clock_;
};

// The real windows on the projector model: the simulated port on port 1,
// the stand-in ISP tool in the program folder, and a technician answering
// every box and dialog.
struct GuiRig {
    explicit GuiRig(fw::sim::ProjectorOptions options = {})
        : projector(std::move(options)), port(loop, projector), processes(loop), isp(loop, projector, port)
    {
        fw::testing::writeFile(programFolder.file("GF9450_CFI_DRIVER.BIN"), "driver");
        isp.installAs(processes, session.tool().programFile("gf9450isp.exe"));
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
    VirtualClockWithWindowEvents windowLoop{loop};
    fw::sim::ProjectorModel projector;
    fw::sim::SimSerialPort port;
    fw::sim::SimProcessRunner processes;
    fw::sim::TempFolder programFolder;
    fw::sim::TempFolder workFolder;
    fw::sim::isp::SimIspTool isp;
    ModalAnswerer technician;
    fw::qt::WindowSession session{port, windowLoop, processes, programFolder.str(), workFolder.str()};
    int programEnds = 0;
    bool portOpenAtEnd = true;
};
