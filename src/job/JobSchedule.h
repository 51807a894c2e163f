#pragma once

#include <cstddef>
#include <vector>

namespace fw {

// How the projectors of a venue take their turns.
struct ScheduleOptions {
    // The first row alone; the rest only once it succeeded.
    bool oneFirst = false;
    // Never more than this many rows at work at once; 0 for no limit.
    std::size_t atOnce = 0;
};

// Where a row stands.
enum class Turn {
    Waiting,
    Running,
    Ended,
    NotStarted,  // the first row of "one first" did not succeed: this one is left alone
};

// The order of a venue's jobs, without the jobs: which rows start now, and
// which never will. Rows start in their order. A row's end changes nothing
// for any other row but the turns they take.
class JobSchedule {
public:
    JobSchedule(std::size_t rows, ScheduleOptions options);

    // The rows to start now, marked as running; at the beginning and after
    // each end.
    std::vector<std::size_t> next();
    // A running row ended; under "one first" the first row's end decides
    // whether the others start at all.
    void ended(std::size_t row, bool succeeded);

    Turn turnOf(std::size_t row) const { return turns_[row]; }
    std::size_t running() const;
    // Nothing runs and nothing is left to start.
    bool finished() const;

private:
    std::size_t limit() const;

    ScheduleOptions options_;
    std::vector<Turn> turns_;
};

} // namespace fw
