#pragma once

#include <chrono>
#include <memory>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ground/Texts.h"
#include "record/ServiceRecord.h"

namespace fw::testing {

// A service record written as the program writes it, from the events of
// whole operations, on a clock that moves one second each time the record
// reads it, from 2024-05-01 14:00:00 UTC on.
class RecordWriter {
public:
    RecordWriter(std::string path, std::string upImage, std::string scalerImage, int64_t startSeconds = 1714572000)
        : path_(std::move(path)), up_(std::move(upImage)), scaler_(std::move(scalerImage))
    {
        RecordSetup setup;
        setup.path = path_;
        setup.program = "firmware-upgrade-tool";
        setup.host = "bench-pc";
        setup.user = "tech";
        setup.portFacts = [](int n) { return PortFacts{"/dev/ttyUSB" + std::to_string(n - 1), "0403:6001", "A5XK3RJT"}; };
        setup.now = [this, startSeconds] { return WallClock::time_point{} + std::chrono::seconds(startSeconds + ticks_++); };
        record_ = std::make_unique<ServiceRecord>(setup);
    }

    const std::string& path() const { return path_; }

    // An upgrade from the package check to its last box; it stops at the
    // verdict with the loader's refusal unless it succeeds.
    void upgrade(int port, const std::string& reply, bool succeeds, const std::string& listFile)
    {
        tell(PackageChecked{listFile, true, ImageFile{"QT2416_uP.bin", up_, 262144},
                            ImageFile{"QT2416_scaler.bin", scaler_, 2500000}});
        tell(PhaseStarted{Phase::ModelCheck});
        tell(ModelReplied{reply, modelIn(reply), "2416"});
        tell(PhaseEnded{Phase::ModelCheck, PhaseOutcome::Ok});
        tell(OperationStarted{Operation::Upgrade, port});
        tell(MessageShown{MessageKind::Question, texts::UpgradeConfirmation, true});
        for (const Phase p : {Phase::LinkTest, Phase::DownloadMode, Phase::ImageTransfer}) {
            tell(PhaseStarted{p});
            tell(PhaseEnded{p, PhaseOutcome::Ok});
        }
        tell(PhaseStarted{Phase::Verdict});
        if (!succeeds) {
            tell(PhaseEnded{Phase::Verdict, PhaseOutcome::NoAnswer});
            tell(MessageShown{MessageKind::Error, texts::UpFailed, {}});
            tell(OperationEnded{Operation::Upgrade, Reason::UpImageNotTaken});
            return;
        }
        tell(PhaseEnded{Phase::Verdict, PhaseOutcome::Ok});
        for (const Phase p : {Phase::Restart, Phase::IspMode}) {
            tell(PhaseStarted{p});
            tell(PhaseEnded{p, PhaseOutcome::Ok});
        }
        tell(PhaseStarted{Phase::IspToolRun, 1});
        tell(IspToolEnded{1, false, 0, std::string("Command: 0503 0000 fafd")});
        tell(PhaseEnded{Phase::IspToolRun, PhaseOutcome::Ok, 1});
        tell(MessageShown{MessageKind::Information, texts::DownloadComplete, {}});
        tell(OperationEnded{Operation::Upgrade, Reason::None});
    }
    // An upgrade whose program stopped under way: its start line alone.
    void unfinishedUpgrade(int port, const std::string& listFile)
    {
        tell(PackageChecked{listFile, true, ImageFile{"QT2416_uP.bin", up_, 262144},
                            ImageFile{"QT2416_scaler.bin", scaler_, 2500000}});
        tell(OperationStarted{Operation::Upgrade, port});
        record_ = nullptr;  // as a program that ends here
    }
    void test(int port, bool answered)
    {
        tell(OperationStarted{Operation::Test, port});
        tell(PhaseStarted{Phase::LinkTest});
        tell(PhaseEnded{Phase::LinkTest, answered ? PhaseOutcome::Ok : PhaseOutcome::NoAnswer});
        tell(MessageShown{answered ? MessageKind::Information : MessageKind::Error,
                          answered ? texts::TestOk : texts::LinkFailed, {}});
        tell(OperationEnded{Operation::Test, answered ? Reason::None : Reason::NoAnswer});
    }
    // A line as a crash or a hand leaves it.
    void damage(const std::string& text)
    {
        std::ofstream out(path_, std::ios::binary | std::ios::app);
        out << text << '\n';
    }

private:
    static std::string modelIn(const std::string& reply)
    {
        const auto at = reply.find("QT");
        if (at == std::string::npos) return {};
        return reply.substr(at, reply.find_first_of(" \r\n>", at) - at);
    }
    void tell(const Event& event)
    {
        if (record_) record_->tell(event);
    }

    std::string path_, up_, scaler_;
    int64_t ticks_ = 0;
    std::unique_ptr<ServiceRecord> record_;
};

// Every line of the file that holds `holding` with these fields put after
// its port: how the venue's jobs name a projector ("label") and where it
// hangs ("venue").
inline void addFields(const std::string& path, const std::string& holding, const std::string& fields)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream out;
    for (std::string line; std::getline(in, line);) {
        const auto after = line.find(",\"list_file\"");
        if (line.find(holding) != std::string::npos && after != std::string::npos) line.insert(after, "," + fields);
        out << line << '\n';
    }
    in.close();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << out.str();
}

} // namespace fw::testing
