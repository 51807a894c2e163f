#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ground/Events.h"
#include "ground/UtcTime.h"

namespace fw {

// The device behind a port number, as far as the system tells.
struct PortFacts {
    std::string device;        // /dev/ttyUSB0, COM3
    std::string usbId;         // "0403:6001"; empty when not a USB adapter
    std::string serialNumber;  // the adapter's; empty when unknown
};

// Who writes the record, where, and how it learns what it notes.
struct RecordSetup {
    std::string path;     // the record file
    std::string program;  // the front end: "firmware-upgrade-tool", "fwupgrade"
    std::string host;
    std::string user;
    std::function<PortFacts(int number)> portFacts;
    // The projector's label and its venue's name, when it is one of a
    // venue's; empty otherwise.
    std::string label = {};
    std::string venue = {};
    std::function<WallClock::time_point()> now = [] { return WallClock::now(); };
    // Told once per operation when the record cannot be written; the
    // operation goes on.
    std::function<void(const std::string& warning)> warn;
};

// The service record of one front end: for every test and upgrade, one
// JSON line when it starts (so a crash or a pulled cable still leaves it)
// and the whole entry again when it ends, each on the disk before the
// operation goes on. Entries of one operation share an "id".
class ServiceRecord final : public EventSink {
public:
    explicit ServiceRecord(RecordSetup setup);
    void tell(const Event& event) override;

    struct Entry;

private:
    void take(const Event& event);
    void start(const OperationStarted& started);
    void end(const OperationEnded& ended);
    void endPhase(const PhaseEnded& ended);
    void write(const std::string& line);

    RecordSetup setup_;
    std::optional<PackageChecked> package_;  // the last package checked
    std::optional<ModelReplied> model_;  // the projector's last reply to the model query
    std::shared_ptr<Entry> entry_;  // the operation under way
    bool warned_ = false;
};

// The version of the record's entries, in each line as "record".
inline constexpr int kRecordVersion = 1;

} // namespace fw
