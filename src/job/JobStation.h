#pragma once

#include <functional>
#include <memory>

#include "job/ProjectorJob.h"
#include "job/Question.h"

namespace fw {

// One projector's job together with what it runs on (its port, clock,
// process runner and listeners such as the service record), made, run and
// destroyed on the thread the job runs on.
class JobStation {
public:
    virtual ~JobStation() = default;
    virtual ProjectorJob& job() = 0;
};

// Makes the station for a venue's row (its index), its questions going to
// the given one.
using StationMaker = std::function<std::unique_ptr<JobStation>(std::size_t row, UpgradeQuestion& question)>;

} // namespace fw
