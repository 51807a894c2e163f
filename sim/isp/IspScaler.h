#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Emission.h"
#include "IspProtocol.h"

namespace fw::sim::isp {

struct ScalerTiming {
    Micros erase = seconds(1);     // after a begin frame
    Micros program = ms(2);        // after each data frame
    Micros verify = ms(20);        // after the end frame
    Micros frameGap = ms(50);      // silence after which a partial frame is dropped
};

// The GF9450 scaler in ISP mode, as a pure state machine: bytes in at a
// time, ACK or NAK out later. It keeps what it was flashed with.
class IspScaler {
public:
    explicit IspScaler(ScalerTiming timing = {}) : timing_(timing) {}

    std::vector<Emission> receive(Micros at, std::string_view bytes);

    // The image the flash holds after a verified end frame; nothing while
    // erased or only partly written.
    const std::optional<std::string>& flashed() const { return flashed_; }
    int framesRefused() const { return refused_; }

    // The next data frame fails to program, once: it is refused.
    void refuseNextDataFrame() { refuseNext_ = true; }

private:
    Micros handle(const Frame& frame, bool& accepted);
    bool takeData(const Frame& frame);
    bool takeEnd(const Frame& frame);

    ScalerTiming timing_;
    FrameReader reader_;
    Micros lastByteAt_ = 0;
    bool writing_ = false;
    uint32_t expectedSize_ = 0;
    uint8_t nextSequence_ = 0;
    std::string written_;
    std::optional<std::string> flashed_;
    int refused_ = 0;
    bool refuseNext_ = false;
};

} // namespace fw::sim::isp
