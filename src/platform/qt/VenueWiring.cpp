#include "qt/VenueWiring.h"

#include "qt/ProgramFolder.h"
#include "qt/ProjectorPorts.h"
#include "qt/QtJobStation.h"

namespace fw::qt {

VenueSetup venueSetup(const std::string& programFolder, const std::string& workingDirectory,
                      const std::string& recordPath, const std::string& listFile, std::function<void()> endProgram)
{
    StationSetup station;
    station.program = kProgramId;
    station.programFolder = programFolder;
    station.workingDirectory = workingDirectory;
    station.recordPath = recordPath;

    VenueSetup setup;
    setup.stations = [station](const VenuePlan& plan) {
        StationSetup own = station;
        own.devices = runPortDevices(plan.pathOfPort, SettingsFile(own.programFolder));
        own.venue = plan.venueName;
        std::vector<std::string> labels;
        for (const VenueRowPlan& row : plan.rows) labels.push_back(row.label);
        return qtStations(own, labels);
    };
    setup.assignPorts = [programFolder](const std::vector<std::string>& ports) {
        return assignPortNumbers(ports, SettingsFile(programFolder));
    };
    setup.listFile = listFile;
    setup.workingDirectory = workingDirectory;
    setup.endProgram = std::move(endProgram);
    return setup;
}

} // namespace fw::qt
