#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "IspProtocol.h"

namespace fw::sim::isp {

// The tool's side of the ISP protocol as a pure state machine, driven by
// whoever moves the bytes: the stand-in executable over a real serial port,
// or the in-process stand-in on the virtual clock.
class IspClient {
public:
    // giveUpAfterFrames: stop (as failed) once that many frames were
    // acknowledged; the stand-in's switch for a failing or crashing run.
    explicit IspClient(std::string image, std::optional<std::size_t> giveUpAfterFrames = std::nullopt);

    // The first frame to send.
    std::string start();
    // A byte from the line; returns what to send next (possibly nothing).
    std::string received(char byte);
    // No answer within replyTimeoutMs(); returns the frame to send again, or
    // nothing when the client has given up.
    std::string timedOut();

    // How long to wait for the answer to the frame in flight, beyond its own
    // line time.
    uint32_t replyTimeoutMs() const;

    bool finished() const { return finished_; }
    bool succeeded() const { return finished_ && failure_.empty(); }
    const std::string& failure() const { return failure_; }
    std::size_t framesAcknowledged() const { return acknowledged_; }
    std::size_t frameCount() const { return frameCount_; }
    std::size_t resends() const { return resends_; }

private:
    Frame frameAt(std::size_t index) const;
    std::string send(std::size_t index);
    std::string answered();
    std::string retry(const char* reason);
    std::string fail(std::string reason);

    std::string image_;
    std::optional<std::size_t> giveUpAfter_;
    std::size_t frameCount_;
    std::size_t current_ = 0;
    Frame inFlight_{FrameType::Begin, {}};
    FrameReader reader_;
    std::size_t acknowledged_ = 0;
    int retries_ = 0;
    std::size_t resends_ = 0;
    bool finished_ = false;
    std::string failure_;
};

} // namespace fw::sim::isp
