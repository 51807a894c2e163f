#pragma once

#include "ProjectorModel.h"
#include "RecordingView.h"
#include "SimProcessRunner.h"
#include "SimSerialPort.h"
#include "TempFolder.h"
#include "VirtualEventLoop.h"
#include "window/Tool.h"

namespace fw::sim {

// One tool on the virtual clock: projector model on port 1, recording view,
// stand-in processes, and fresh program and working folders.
struct SimRig {
    explicit SimRig(ProjectorOptions options = {}, uint32_t tickAtStart = 0);

    VirtualEventLoop loop;
    ProjectorModel projector;
    SimSerialPort port;
    RecordingView view;
    SimProcessRunner processes;
    TempFolder programFolder;
    TempFolder workFolder;
    fw::Tool tool;
};

} // namespace fw::sim
