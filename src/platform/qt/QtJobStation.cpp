#include "qt/QtJobStation.h"

#include "qt/RecordSetup.h"
#include "qt/RelayingRunner.h"

namespace fw::qt {

QtJobStation::QtJobStation(const StationSetup& setup, fw::UpgradeQuestion& question)
    : serial_(setup.devices), ispTool_(ispToolRunner(processes_, setup.devices)),
      record_(recordSetup(setup.program, setup.recordPath, setup.devices))
{
    if (setup.transcript) logged_.emplace(serial_, loop_, setup.transcript);
    job_ = std::make_unique<fw::ProjectorJob>(port(), loop_, *ispTool_, setup.programFolder, setup.workingDirectory,
                                              question);
    job_->events().add(record_);
}

fw::StationMaker qtStations(StationSetup setup)
{
    return [setup = std::move(setup)](std::size_t, fw::UpgradeQuestion& question) {
        return std::make_unique<QtJobStation>(setup, question);
    };
}

} // namespace fw::qt
