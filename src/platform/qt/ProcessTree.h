#pragma once

#include <QProcess>

namespace fw::qt {

// A started program with every process it starts, stopped as one: a process
// group on POSIX, a job object on Windows. Whatever is still running when
// the tree is destroyed is stopped.
class ProcessTree {
public:
    // Before QProcess::start: the program is started as the root of a tree.
    static void prepare(QProcess& process);

    // After a successful start.
    explicit ProcessTree(const QProcess& process);
    ~ProcessTree();
    ProcessTree(const ProcessTree&) = delete;
    ProcessTree& operator=(const ProcessTree&) = delete;

    // Kills every process of the tree that still runs; never waits.
    void stop();

private:
    long long id_ = 0;  // the group's id, or the job object's handle
    int slot_ = -1;     // in the table the termination handler reads
};

// Stops every tree not yet destroyed: the program is ending.
void stopAllProcessTrees();

// A program ended by a signal (Ctrl+C, logout, kill) or a closed console
// first stops every tree, so no started program keeps the serial port.
void stopProcessTreesOnTermination();

} // namespace fw::qt
