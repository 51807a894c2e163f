#pragma once

#include <deque>
#include <string>
#include <vector>

#include "PackageMaker.h"
#include "ProjectorModel.h"
#include "SimProcessRunner.h"
#include "SimSerialPort.h"
#include "TempFolder.h"
#include "VirtualEventLoop.h"
#include "ground/Events.h"
#include "isp/SimIspTool.h"
#include "job/ProjectorJob.h"
#include "transfer/IspCommandLine.h"

namespace fw::testing {

// The question as a technician answers it: from a script, No when nothing
// is scripted; every text asked is kept.
struct ScriptedQuestion final : UpgradeQuestion {
    bool confirm(const std::string& text) override
    {
        asked.push_back(text);
        if (answers.empty()) return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    std::deque<bool> answers;
    std::vector<std::string> asked;
};

// Every event told, in order.
struct EventLog final : EventSink {
    void tell(const Event& event) override { events.push_back(event); }
    template <typename E>
    std::vector<E> all() const
    {
        std::vector<E> out;
        for (const Event& e : events)
            if (const auto* found = std::get_if<E>(&e)) out.push_back(*found);
        return out;
    }
    std::vector<Event> events;
};

// One projector's job on the virtual clock: the projector model on its
// port, the stand-in ISP tool, a valid package in the working folder and
// the tool's driver in the program folder.
struct JobRig {
    explicit JobRig(sim::ProjectorOptions options = {}, int16_t portNumber = 1, sim::isp::IspSwitches switches = {})
        : projector(std::move(options)), port(loop, projector), processes(loop),
          isp(loop, projector, port, switches, portNumber), package(makePackage(workFolder.str())),
          job(port, loop, processes, programFolder.str(), workFolder.str(), question), number(portNumber)
    {
        port.setAvailability(portNumber, sim::PortAvailability::Projector);
        writeFile(programFolder.file(kIspDriverName), "driver");
        isp.installAs(processes, job.tool().programFile(kIspToolName));
        job.events().add(log);
    }

    JobOutcome run(JobKind kind, std::string listFile = "useThePackage")
    {
        if (listFile == "useThePackage") listFile = package.listFile;
        return job.run({kind, number, listFile});
    }
    bool upImageFlashed() const { return projector.flashedUpImage() == package.upBytes; }
    bool scalerImageFlashed() const { return projector.flashedScalerImage() == package.scalerBytes; }
    std::string bytesSent() const { return port.bytesSent(); }

    sim::VirtualEventLoop loop;
    sim::ProjectorModel projector;
    sim::SimSerialPort port;
    sim::SimProcessRunner processes;
    sim::isp::SimIspTool isp;
    sim::TempFolder programFolder;
    sim::TempFolder workFolder;
    Package package;
    ScriptedQuestion question;
    ProjectorJob job;
    EventLog log;
    int number;
};

} // namespace fw::testing
