#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ground/Json.h"

namespace fw {

// One operation as a line of the service record holds it, read back for
// those who show it (history, the history window, the report). A field the
// line lacks stays empty: nothing is made up for it.

struct RecordedPort {
    std::optional<int> number;
    std::string device;
    std::string usbId;         // "0403:6001"
    std::string serialNumber;  // the adapter's
};

struct RecordedImage {
    std::string role;  // "up", "scaler"
    std::string name;  // as the list file writes it
    std::string path;
    std::optional<uint64_t> size;
    std::optional<uint64_t> byteSum;
    std::string sha256;  // lower-case hexadecimal
};

struct RecordedPhase {
    std::string phase;  // as the events name it: "link-test", "isp-tool-run"
    int run = 0;        // the ISP tool's run, 1 or 2
    std::string started, ended;  // UTC, ISO 8601
    std::string outcome;         // "ok", "no-answer"; empty when it never ended
};

struct RecordedIspRun {
    int run = 0;
    bool timedOut = false;
    std::optional<int> exitCode;
    std::optional<std::string> logLine;
};

struct RecordEntry {
    std::string id;
    std::string state;      // "started", "ended"
    std::string operation;  // "test", "upgrade"
    std::string started, ended;  // UTC, ISO 8601
    std::optional<int64_t> durationMs;
    std::string program, version, host, user;
    std::optional<RecordedPort> port;
    std::string label, venue;  // the projector's name and where it hangs, when the job gave them
    std::string listFile;
    std::vector<RecordedImage> images;
    std::optional<std::string> modelReply;  // as received
    std::string model;        // the word of the reply with the family mark
    std::string modelNumber;  // the model number that matched the package's
    std::vector<RecordedPhase> phases;
    std::vector<RecordedIspRun> ispRuns;
    std::string outcome;  // "succeeded", "failed", "declined"
    std::string reason;   // as the events name it
    std::optional<std::string> message;  // the last box shown

    bool finished() const { return state == "ended"; }
    // The model as the technician knows it: as the entry names it, or, in
    // an entry written before it did, as found in the reply; empty when
    // neither tells.
    std::string modelName() const;
};

// The entry a line of the record holds; nothing when the value is no
// entry (no "id" or "state").
std::optional<RecordEntry> recordEntryOf(const Json& value);

} // namespace fw
