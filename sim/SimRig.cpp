#include "SimRig.h"

namespace fw::sim {

SimRig::SimRig(ProjectorOptions options, uint32_t tickAtStart)
    : loop(tickAtStart), projector(std::move(options)), port(loop, projector), view(loop), processes(loop),
      tool(port, loop, view, processes, programFolder.str(), workFolder.str())
{
}

} // namespace fw::sim
