#pragma once

// A long service record for the benchmarks: one whole upgrade as the record
// writes it (its start line and its end line), repeated under new ids.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "ground/Texts.h"
#include "record/ServiceRecord.h"

namespace fw::bench {

// One whole upgrade's two lines, its images digested from files of their
// real sizes.
inline std::vector<std::string> sampleUpgrade(const sim::TempFolder& folder)
{
    const std::string sample = folder.file("sample.jsonl");
    const std::string up = folder.file("QT2416_uP.bin"), scaler = folder.file("QT2416_scaler.bin");
    std::ofstream(up, std::ios::binary) << std::string(262144, '\x5a');
    std::ofstream(scaler, std::ios::binary) << std::string(2500000, '\xa5');
    RecordSetup setup;
    setup.path = sample;
    setup.program = "fwupgrade";
    setup.host = "bench-pc";
    setup.user = "tech";
    setup.portFacts = [](int) { return PortFacts{"/dev/ttyUSB0", "0403:6001", "A5XK3RJT"}; };
    ServiceRecord record(setup);
    const Phase phases[] = {Phase::LinkTest,      Phase::ModelCheck, Phase::LinkTest, Phase::DownloadMode,
                            Phase::ImageTransfer, Phase::Verdict,    Phase::Restart,  Phase::IspMode};
    record.tell(PackageChecked{"/home/tech/firmware/QT2416_package.txt", true,
                               ImageFile{"QT2416_uP.bin", up, 262144}, ImageFile{"QT2416_scaler.bin", scaler, 2500000}});
    record.tell(OperationStarted{Operation::Upgrade, 1});
    record.tell(ModelReplied{"op model.name ?\r\r\nmodel.name = QT-2416\r\n>", "QT-2416", "2416"});
    for (const Phase p : phases) {
        record.tell(PhaseStarted{p});
        record.tell(PhaseEnded{p, PhaseOutcome::Ok});
    }
    record.tell(PhaseStarted{Phase::IspToolRun, 1});
    record.tell(IspToolEnded{1, false, 0, "Command: 0503 0000 fafd"});
    record.tell(PhaseEnded{Phase::IspToolRun, PhaseOutcome::Ok, 1});
    record.tell(MessageShown{MessageKind::Information, texts::DownloadComplete, {}});
    record.tell(OperationEnded{Operation::Upgrade, Reason::None});
    std::ifstream in(sample);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The line with the n-th operation's id.
inline std::string withId(std::string line, int n)
{
    char id[20];
    std::snprintf(id, sizeof id, "%016x", static_cast<unsigned>(n));
    const auto at = line.find("\"id\":\"") + 6;
    return line.replace(at, 16, id);
}

// `entries` upgrades, each its two lines.
inline void writeUpgrades(const std::string& path, const std::vector<std::string>& entry, int entries)
{
    std::ofstream out(path, std::ios::binary);
    for (int n = 0; n < entries; ++n)
        for (const std::string& line : entry) out << withId(line, n) << '\n';
}

} // namespace fw::bench
