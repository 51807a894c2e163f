#pragma once

#include <string>

#include "record/RecordEntry.h"

namespace fw::testing {

// Entries as the service record holds them, for the report's tests: a whole
// upgrade that went well on a USB adapter, and its endings otherwise.

inline const std::string kUpSha = "3b1f5a1e9d8c7b6a5f4e3d2c1b0a99887766554433221100ffeeddccbbaa0011";
inline const std::string kScalerSha = "9e8d7c6b5a4f3e2d1c0b0a09f8e7d6c5b4a39281706f5e4d3c2b1a0f9e8d7c6b";

inline RecordEntry completedUpgrade()
{
    RecordEntry e;
    e.id = "0123456789abcdef";
    e.state = "ended";
    e.operation = "upgrade";
    e.started = "2024-05-01T14:00:00.000Z";
    e.ended = "2024-05-01T14:10:00.000Z";
    e.durationMs = 600000;
    e.program = "firmware-upgrade-tool";
    e.version = "1.1.4";
    e.host = "bench-pc";
    e.user = "tech";
    e.port = RecordedPort{3, "/dev/ttyUSB0", "0403:6001", "A5XK3RJT"};
    e.listFile = "/fw/QT2416_package.txt";
    e.images = {{"up", "QT2416_uP.bin", "/fw/QT2416_uP.bin", 262144, 0x1F3A2C1, kUpSha},
                {"scaler", "QT2416_scaler.bin", "/fw/QT2416_scaler.bin", 3000000, 0x16E3600, kScalerSha}};
    e.modelReply = "op model.name ?\r\r\nmodel.name = QT-2416\r\n>";
    e.model = "QT-2416";
    e.modelNumber = "2416";
    // 0 s question, link 10-11 s, model 11-12 s, download mode 12-15 s, image 15-135 s, verdict 135-136 s,
    // restart 136-180 s, ISP mode 180-190 s, the tool 190-600 s.
    const auto at = [](int s) {
        char text[64];  // room for any int, as GCC checks in a Debug build
        std::snprintf(text, sizeof text, "2024-05-01T14:%02d:%02d.000Z", s / 60, s % 60);
        return std::string(text);
    };
    e.phases = {{"link-test", 0, at(10), at(11), "ok"},      {"model-check", 0, at(11), at(12), "ok"},
                {"download-mode", 0, at(12), at(15), "ok"},  {"image-transfer", 0, at(15), at(135), "ok"},
                {"verdict", 0, at(135), at(136), "ok"},      {"restart", 0, at(136), at(180), "ok"},
                {"isp-mode", 0, at(180), at(190), "ok"},     {"isp-tool-run", 1, at(190), at(600), "ok"}};
    e.ispRuns = {{1, false, 0, std::string("Command: 0503 0000 fafd")}};
    e.outcome = "succeeded";
    e.reason = "none";
    e.message = "Download complete. Don't forget to turn the projector AC power off and on again to complete the "
                "software upgrading process.";
    return e;
}

// The loader gave no verdict: the uP phase failed and the scaler was never touched.
inline RecordEntry upgradeWithoutVerdict()
{
    RecordEntry e = completedUpgrade();
    e.id = "fedcba9876543210";
    e.ended = "2024-05-01T14:02:30.000Z";
    e.durationMs = 150000;
    e.phases.resize(5);
    e.phases[4] = {"verdict", 0, "2024-05-01T14:02:15.000Z", "2024-05-01T14:02:30.000Z", "no-answer"};
    e.ispRuns.clear();
    e.outcome = "failed";
    e.reason = "up-image-not-taken";
    e.message = "ERROR: uP software download failed!";
    return e;
}

// Only its start line: the program stopped before the upgrade ended.
inline RecordEntry unfinishedUpgrade()
{
    RecordEntry e = completedUpgrade();
    e.id = "00000000000000aa";
    e.state = "started";
    e.ended.clear();
    e.durationMs.reset();
    e.phases.clear();
    e.ispRuns.clear();
    e.outcome.clear();
    e.reason.clear();
    e.message.reset();
    return e;
}

} // namespace fw::testing
