#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ground/PortError.h"
#include "ground/ProcessRunner.h"
#include "link/Link.h"

namespace fw {

// The scaler phase's steps on the wire: the port is opened if it is closed
// (the refusal when it cannot be), "op dlgf" asks for ISP mode, and the
// scaler may answer with its banner.
std::optional<PortError> openPortIfClosed(Link& link);
PortFailure askForIspMode(Link& link);
// True when the banner came.
bool awaitScalerBanner(Link& link);
// The scaler settles in ISP mode before the tool may start.
void settleBeforeTool(Link& link);

struct IspRunEnd {
    bool timedOut = false;                // stopped at its time limit; no log read
    std::optional<int> exitCode;          // when it ended by itself and the system told
    std::optional<std::string> logLine;   // the log's last line, when it was read
    bool succeeded = false;               // the log ends with the success line
};

// What the technician sees of the tool while the phase waits for it; the
// window draws it.
class IspToolWatch {
public:
    virtual ~IspToolWatch() = default;
    // Another upgrade's tool holds the folder (once, when the wait begins).
    virtual void waitingForFolder() = 0;
    // The folder became free after a wait.
    virtual void folderTaken() = 0;
    // A run of the tool begins, ticks every 100 ms while it runs, and ends.
    virtual void toolStarted() = 0;
    virtual void toolTick() = 0;
    virtual void toolEnded() = 0;
    // The last line of the run's log, stripped; empty when there is no log.
    virtual void logRead(const std::string& lastLine) = 0;
    // How the run just ended, once it is over and its log judged.
    virtual void runEnded(const IspRunEnd& end) = 0;
};

struct IspJob {
    std::string program;           // the tool, in the program folder
    std::string folder;            // where it runs and leaves its log
    std::string scalerImagePath;   // as the list file names it
    std::string workingDirectory;  // what a relative image name resolves against
    int portNumber = 1;
    int32_t timeLimitSeconds = 0;  // for each run
};

enum class ScalerResult {
    Flashed,
    FolderNotLockable,  // detail: why the lock file cannot be used
    FolderStaysBusy,    // another upgrade's tool held the folder too long
    OldLogStays,        // detail: why; path: the log
    ImageMissing,
    ToolNotStarted,     // startError: 2 not found, 0 unknown, other; detail: the message, when the runner gave one
    ToolFailed,         // two runs without the success line
};

struct ScalerOutcome {
    ScalerResult result;
    std::string path;
    std::string detail;
    int startError = 0;
};

// Runs the tool on the projector's port, once more when its log does not
// end with the success line or its time ran out, while no other copy of the
// program uses the folder. The port is the tool's from the moment the folder
// is taken. Every run judges only a log written after it started, and
// nothing a run started is left running.
ScalerOutcome flashScaler(Link& link, ProcessRunner& processes, const IspJob& job, IspToolWatch& watch);

} // namespace fw
