#include "qt/QtJobStation.h"

#include "qt/RecordSetup.h"
#include "qt/RelayingRunner.h"

namespace fw::qt {

namespace {

fw::RecordSetup labelled(fw::RecordSetup record, const StationSetup& setup)
{
    record.label = setup.label;
    record.venue = setup.venue;
    return record;
}

} // namespace

QtJobStation::QtJobStation(const StationSetup& setup, fw::UpgradeQuestion& question)
    : serial_(setup.devices), ispTool_(ispToolRunner(processes_, setup.devices)),
      record_(labelled(recordSetup(setup.program, setup.recordPath, setup.devices), setup))
{
    if (setup.transcript) logged_.emplace(serial_, loop_, setup.transcript);
    job_ = std::make_unique<fw::ProjectorJob>(port(), loop_, *ispTool_, setup.programFolder, setup.workingDirectory,
                                              question);
    job_->events().add(record_);
}

fw::StationMaker qtStations(StationSetup setup, std::vector<std::string> labels)
{
    return [setup = std::move(setup), labels = std::move(labels)](std::size_t row, fw::UpgradeQuestion& question) {
        StationSetup own = setup;
        if (row < labels.size()) own.label = labels[row];
        return std::make_unique<QtJobStation>(own, question);
    };
}

} // namespace fw::qt
