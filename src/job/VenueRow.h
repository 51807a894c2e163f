#pragma once

#include <cstdint>
#include <string>

#include "ground/Events.h"

namespace fw {

// The step a venue's row shows, in the order an upgrade goes through them.
enum class RowStep { None, LinkTest, ModelCheck, UpImage, Restart, Scaler };

// What one row of a venue shows, fed by its projector's events alone: the
// model the projector answered, the step it is at, how far (the bytes of
// the uP image; the ISP tool's elapsed time against its time limit), and
// the message the technician would have been left with.
class VenueRow {
public:
    void take(const Event& event);
    // A new run of the row: everything shown of the last one goes.
    void restart();

    const std::string& model() const { return model_; }
    RowStep step() const { return step_; }
    // 0 to 100, within the step.
    double progress() const { return progress_; }
    const std::string& result() const { return result_; }
    bool ended() const { return ended_; }
    bool succeeded() const { return succeeded_; }

private:
    std::string model_;
    RowStep step_ = RowStep::None;
    double progress_ = 0;
    int32_t ispLimitSeconds_ = 0;
    std::string result_;
    bool ended_ = false;
    bool succeeded_ = false;
};

// The step's name as the row shows it: "link test", "model check", "uP
// image", "restart", "scaler"; empty for none.
const char* stepName(RowStep step);

} // namespace fw
