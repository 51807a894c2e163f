#include "job/ProjectorJob.h"

#include <exception>

#include "ground/PortError.h"
#include "ground/Texts.h"
#include "job/IspFolder.h"
#include "window/PortMessages.h"
#include "window/ProjectorChecks.h"
#include "window/Upgrade.h"
#include "window/WindowOps.h"

namespace fw {

namespace {

Reason reasonOf(ModelMatch match)
{
    switch (match) {
    case ModelMatch::Matches: return Reason::None;
    case ModelMatch::Mismatch: return Reason::ModelMismatch;
    case ModelMatch::NoPackage: return Reason::PackageNotValid;
    case ModelMatch::NotAnswered: return Reason::NoAnswer;
    case ModelMatch::PortFailed: break;
    }
    return Reason::PortFailed;
}

} // namespace

void ProjectorJob::LastMessage::tell(const Event& event)
{
    const auto* shown = std::get_if<MessageShown>(&event);
    if (shown && (shown->kind == MessageKind::Error || shown->kind == MessageKind::Information)) text = shown->text;
}

ProjectorJob::ProjectorJob(SerialPort& port, EventLoop& loop, ProcessRunner& processes, std::string programFolder,
                           std::string workingDirectory, UpgradeQuestion& question)
    : view_(question), tool_(port, loop, view_, processes, std::move(programFolder), std::move(workingDirectory))
{
    tool_.events.add(last_);
}

JobOutcome ProjectorJob::run(const JobRequest& request)
{
    last_.text.clear();
    try {
        switch (request.kind) {
        case JobKind::PackageCheck: return checkPackageOnly(request.listFile);
        case JobKind::CommunicationTest: return communicationTest(request.port);
        case JobKind::ProjectorCheck: return checkProjector(request.port, request.listFile);
        case JobKind::Upgrade: return upgrade(request.port, request.listFile);
        }
    } catch (const std::exception& e) {
        return internalError(nullptr, e.what());
    } catch (...) {
        return internalError(nullptr, "an unknown exception");
    }
    return internalError(nullptr, "an unknown job");
}

void ProjectorJob::leave()
{
    tool_.processes.stopAll();  // an ISP tool left running would keep the port
    try {
        tool_.port.setPortOpen(false);
    } catch (const PortError&) {
        // closing is best effort: the technician is leaving
    }
}

JobOutcome ProjectorJob::ended(ToldOperation& told, Reason reason, const char* what) const
{
    told.end(reason);
    if (reason == Reason::None) return {true, reason, last_.text, {}};
    return {false, reason, last_.text, last_.text.empty() ? std::string(what) : what + (": " + last_.text)};
}

// A fault of the program itself (every failure a step can meet is handled
// by the step) is shown as the window shows it and ends this job alone.
JobOutcome ProjectorJob::guarded(ToldOperation& told, const std::function<JobOutcome()>& body)
{
    try {
        return body();
    } catch (const std::exception& e) {
        return internalError(&told, e.what());
    } catch (...) {
        return internalError(&told, "an unknown exception");
    }
}

JobOutcome ProjectorJob::internalError(ToldOperation* told, const std::string& what)
{
    const std::string message = texts::InternalError + what + texts::InternalErrorTail;
    try {
        report(tool_, message, MessageStyle::Critical);
        if (told) told->end(Reason::Unexpected);
    } catch (...) {
        // a listener that fails now cannot change how the job ended
    }
    return {false, Reason::Unexpected, message, message};
}

// The number the port goes by in the operation's account, before it opens.
void ProjectorJob::selectPort(int port)
{
    view_.setPortListText(std::to_string(port));
    tool_.port.setCommPort(static_cast<int16_t>(port));
}

bool ProjectorJob::openPort()
{
    try {
        tool_.port.setPortOpen(true);
        return true;
    } catch (const PortError& e) {
        if (!reportPortSetupFailure(tool_, e)) report(tool_, texts::LinkFailed, MessageStyle::Critical);
        return false;
    }
}

JobOutcome ProjectorJob::checkPackageOnly(const std::string& listFile)
{
    ToldOperation told(tool_, Operation::Check);
    return guarded(told, [&] {
        const bool valid = checkPackage(tool_, listFile);
        return ended(told, valid ? Reason::None : Reason::PackageNotValid, texts::JobPackageNotValid);
    });
}

JobOutcome ProjectorJob::communicationTest(int port)
{
    selectPort(port);
    ToldOperation told(tool_, Operation::Test);
    return guarded(told, [&] {
        if (!openPort()) return ended(told, Reason::PortNotOpened, texts::JobPortNotOpened);
        cmdTest_Click(tool_);
        return ended(told, told.nestedReason(), texts::JobTestFailed);
    });
}

// The link test and the model check, as the window makes them before it
// enables "Upgrade SW": without a package, any model that answers will do.
JobOutcome ProjectorJob::checkProjector(int port, const std::string& listFile)
{
    selectPort(port);
    tool_.state.NoListFile = listFile.empty();
    const bool packageValid = listFile.empty() || checkPackage(tool_, listFile);
    ToldOperation told(tool_, Operation::Test);
    return guarded(told, [&] {
        if (!packageValid) return ended(told, Reason::PackageNotValid, texts::JobPackageNotValid);
        if (!openPort()) return ended(told, Reason::PortNotOpened, texts::JobPortNotOpened);
        if (const LinkCheck link = linkAnswers(tool_); !link.ok())
            return ended(told, reasonOf(link), texts::JobNoAnswer);
        const ModelMatch model = judgeModel(tool_);
        if (model != ModelMatch::Matches && model != ModelMatch::NoPackage)
            return ended(told, reasonOf(model), texts::JobModelUnsuited);
        report(tool_, texts::TestOk, MessageStyle::Information);
        return ended(told, Reason::None, texts::JobTestFailed);
    });
}

// The checks the window makes before it enables "Upgrade SW", then the
// upgrade: one operation in the account, whichever step ends it. The ISP
// tool runs in a folder of this port's own.
JobOutcome ProjectorJob::upgrade(int port, const std::string& listFile)
{
    selectPort(port);
    const bool packageValid = checkPackage(tool_, listFile);
    ToldOperation told(tool_, Operation::Upgrade);
    return guarded(told, [&]() -> JobOutcome {
        if (!packageValid) return ended(told, Reason::PackageNotValid, texts::JobPackageNotValid);
        const IspFolder ispFolder = prepareIspFolder(tool_.programFolder, port);
        if (!ispFolder.failure.empty()) {
            told.end(Reason::IspFolderUnusable);
            return {false, Reason::IspFolderUnusable, last_.text, ispFolder.failure};
        }
        tool_.ispFolder = ispFolder.path;
        if (!openPort()) return ended(told, Reason::PortNotOpened, texts::JobPortNotOpened);
        if (const LinkCheck link = linkAnswers(tool_); !link.ok())
            return ended(told, reasonOf(link), texts::JobNoAnswer);
        if (const ModelMatch model = judgeModel(tool_); model != ModelMatch::Matches)
            return ended(told, reasonOf(model), texts::JobModelUnsuited);
        cmdUpgradeSW_Click(tool_);
        const Reason reason = told.nestedReason();
        if (reason == Reason::Declined) {
            told.end(reason);
            return {false, reason, last_.text, texts::JobNotStarted};
        }
        return ended(told, reason, texts::JobUpgradeFailed);
    });
}

} // namespace fw
