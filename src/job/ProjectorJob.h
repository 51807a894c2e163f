#pragma once

#include <functional>
#include <string>

#include "ground/Events.h"
#include "ground/EventLoop.h"
#include "ground/ProcessRunner.h"
#include "ground/SerialPort.h"
#include "job/JobView.h"
#include "job/Question.h"
#include "window/Telling.h"
#include "window/Tool.h"

namespace fw {

// What a front end asks of one projector.
enum class JobKind {
    PackageCheck,       // the list file and its two images; no projector
    CommunicationTest,  // the "Projector communication test" button
    ProjectorCheck,     // the link test and the model check against the package, if one is given
    Upgrade,            // the package, link and model checks the window makes first, then "Upgrade SW"
};

struct JobRequest {
    JobKind kind = JobKind::Upgrade;
    int port = 0;          // the projector's port number; none for a package check
    std::string listFile;  // the package (a projector check without one judges no model)
};

struct JobOutcome {
    bool succeeded = false;
    Reason reason = Reason::Unexpected;
    // The last box the technician would have been left with ("Download
    // complete. ...", or why it failed); empty when none was shown.
    std::string message;
    // One line when it failed: what failed, and why as the message says it.
    std::string failure;
};

// One projector's whole job, below every front end: the package check, the
// link test, the model check, the question, the upgrade, told step by step
// to whoever listens on events() (a printer, a row of a window, the
// service record). It runs on the calling thread, waiting through the
// loop it is given; a projector's failure ends its own job and nothing else.
// The main window's handlers do the work, as they do behind its buttons; a
// headless view stands in for the window.
class ProjectorJob {
public:
    ProjectorJob(SerialPort& port, EventLoop& loop, ProcessRunner& processes, std::string programFolder,
                 std::string workingDirectory, UpgradeQuestion& question);
    ProjectorJob(const ProjectorJob&) = delete;
    ProjectorJob& operator=(const ProjectorJob&) = delete;

    EventHub& events() { return tool_.events; }
    const EventLoop& clock() const { return tool_.loop; }

    // Never throws for a fault of the program: it ends the job as failed
    // with the internal-error message, told like any other.
    JobOutcome run(const JobRequest& request);

    // The technician leaves: every ISP tool stopped, the port closed.
    void leave();

    // For tests: the handlers' own state.
    Tool& tool() { return tool_; }

private:
    // The last box shown that was not a question: the why of a failure.
    struct LastMessage final : EventSink {
        void tell(const Event& event) override;
        std::string text;
    };

    JobOutcome checkPackageOnly(const std::string& listFile);
    JobOutcome communicationTest(int port);
    JobOutcome checkProjector(int port, const std::string& listFile);
    JobOutcome upgrade(int port, const std::string& listFile);
    JobOutcome ended(ToldOperation& told, Reason reason, const char* what) const;
    JobOutcome guarded(ToldOperation& told, const std::function<JobOutcome()>& body);
    JobOutcome internalError(ToldOperation* told, const std::string& what);
    bool openPort();
    void selectPort(int port);

    JobView view_;
    Tool tool_;
    LastMessage last_;
};

} // namespace fw
