#include "qt/ProcessTree.h"

#include <QVariant>
#include <windows.h>

#include "qt/ProcessTreeTable.h"

namespace fw::qt {

namespace {

HANDLE asHandle(long long value) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(value)); }

// Where QProcess keeps the started program's process and thread handles.
const char* const kStartInformation = "fwStartInformation";

void terminateJob(long long job) { TerminateJobObject(asHandle(job), 1); }

// A job whose processes all end when its last handle closes, so they end
// with this program however it ends.
HANDLE jobFor(DWORD processId)
{
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (job == nullptr) return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    HANDLE process = OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE, processId);
    const bool assigned = process != nullptr && AssignProcessToJobObject(job, process);
    if (process != nullptr) CloseHandle(process);
    if (!assigned) {
        CloseHandle(job);
        return nullptr;
    }
    return job;
}

BOOL WINAPI stopTreesOnConsoleEvent(DWORD)
{
    stopAllProcessTrees();
    return FALSE;  // the default handling ends the program
}

} // namespace

// The program starts suspended and runs only once it is in its job, so
// nothing it starts can slip out of the job before that.
void ProcessTree::prepare(QProcess& process)
{
    process.setCreateProcessArgumentsModifier([&process](QProcess::CreateProcessArguments* arguments) {
        arguments->flags |= CREATE_SUSPENDED;
        process.setProperty(kStartInformation, QVariant::fromValue(reinterpret_cast<quintptr>(arguments->processInformation)));
    });
}

ProcessTree::ProcessTree(const QProcess& process)
    : id_(static_cast<long long>(reinterpret_cast<intptr_t>(jobFor(static_cast<DWORD>(process.processId()))))),
      slot_(id_ != 0 ? ProcessTreeTable::add(id_) : -1)
{
    // Resumed whether or not a job could be made: a program left suspended
    // would hold the port until its time limit.
    const auto* started = reinterpret_cast<const PROCESS_INFORMATION*>(process.property(kStartInformation).value<quintptr>());
    if (started != nullptr) ResumeThread(started->hThread);
}

ProcessTree::~ProcessTree()
{
    ProcessTreeTable::remove(slot_);
    if (id_ == 0) return;
    terminateJob(id_);
    CloseHandle(asHandle(id_));
}

void ProcessTree::stop()
{
    if (id_ != 0) terminateJob(id_);
}

void stopAllProcessTrees() { ProcessTreeTable::forEach(terminateJob); }

void stopProcessTreesOnTermination() { SetConsoleCtrlHandler(stopTreesOnConsoleEvent, TRUE); }

} // namespace fw::qt
