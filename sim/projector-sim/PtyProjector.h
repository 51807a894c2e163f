#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <string>

#include "ProjectorModel.h"
#include "SimOptions.h"

namespace fw::sim {

// The projector model behind a pseudo-terminal, in real time: what the host
// writes reaches the model at the pace of the line, and what the model says
// leaves at the times it names. As a sink it only takes in and counts bytes.
class PtyProjector {
public:
    explicit PtyProjector(SimOptions options);
    ~PtyProjector();
    PtyProjector(const PtyProjector&) = delete;
    PtyProjector& operator=(const PtyProjector&) = delete;

    const std::string& devicePath() const { return devicePath_; }

    // Serves the line until `stop` is set or the line is cut.
    void run(const std::atomic<bool>& stop);

    // What the projector was flashed with, one "key=value" a line.
    std::string report() const;

private:
    Micros now() const;
    bool linePaced() const;
    void accrueCredit();
    bool mayTakeFromHost() const;
    void takeFromHost();
    void noteImageProgress(Micros at);
    void sendDue();
    void queue(const std::vector<Emission>& emissions);
    void addNoise();
    void cutLine();
    void saveReportWhenQuiet();
    void saveReport();
    int pollTimeoutMs() const;
    std::string commandList() const;

    SimOptions options_;
    ProjectorModel model_;
    int master_ = -1;
    int slave_ = -1;
    std::string devicePath_;
    std::chrono::steady_clock::time_point start_;
    std::multimap<Micros, std::string> outgoing_;
    Micros lastCredit_ = 0;
    double credit_ = 0;     // bytes the paced line may deliver now
    Micros txFree_ = 0;     // when the line towards the host is free again
    Micros nextNoise_ = 0;
    bool cut_ = false;

    // The uP image of the last download: bytes taken so far, and when the
    // reads holding its first and its latest bytes were made.
    std::size_t imageBytesSeen_ = 0;
    Micros imageFirstAt_ = 0;
    Micros imageLastAt_ = 0;

    // Sink mode: every byte taken in, and when the first and last came.
    uint64_t sinkBytes_ = 0;
    uint64_t receivedBytes_ = 0;  // every byte the host sent, for "nothing reached it"
    Micros sinkFirstAt_ = 0;
    Micros sinkLastAt_ = 0;

    Micros lastInputAt_ = 0;
    bool reportStale_ = false;  // input arrived since the report was last written
    std::string lastReport_;
};

} // namespace fw::sim
