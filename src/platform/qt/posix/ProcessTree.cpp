#include "qt/ProcessTree.h"

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

#include "qt/ProcessTreeTable.h"

namespace fw::qt {

namespace {

void killGroup(long long group) { ::kill(-static_cast<pid_t>(group), SIGKILL); }

extern "C" void stopTreesAndEnd(int signal)
{
    ProcessTreeTable::forEach(killGroup);  // kill() is safe in a signal handler
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void ProcessTree::prepare(QProcess& process)
{
    // A group of its own: everything the program starts stays in it, and a
    // Ctrl+C meant for us does not reach it behind our back.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
}

ProcessTree::ProcessTree(const QProcess& process) : id_(process.processId()), slot_(ProcessTreeTable::add(id_)) {}

ProcessTree::~ProcessTree()
{
    stop();
    ProcessTreeTable::remove(slot_);
}

void ProcessTree::stop()
{
    if (id_ > 0) killGroup(id_);
}

void stopAllProcessTrees() { ProcessTreeTable::forEach(killGroup); }

void stopProcessTreesOnTermination()
{
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, stopTreesAndEnd);
}

} // namespace fw::qt
