#include "job/JobSchedule.h"

#include <algorithm>

namespace fw {

JobSchedule::JobSchedule(std::size_t rows, ScheduleOptions options) : options_(options), turns_(rows, Turn::Waiting) {}

std::size_t JobSchedule::running() const
{
    return static_cast<std::size_t>(std::count(turns_.begin(), turns_.end(), Turn::Running));
}

bool JobSchedule::finished() const
{
    return std::none_of(turns_.begin(), turns_.end(), [](Turn t) { return t == Turn::Waiting || t == Turn::Running; });
}

// Under "one first", only the first row until it has ended.
std::size_t JobSchedule::limit() const
{
    if (options_.oneFirst && !turns_.empty() && turns_.front() != Turn::Ended) return 1;
    return options_.atOnce == 0 ? turns_.size() : options_.atOnce;
}

std::vector<std::size_t> JobSchedule::next()
{
    std::vector<std::size_t> starting;
    std::size_t busy = running();
    for (std::size_t row = 0; row < turns_.size() && busy < limit(); ++row) {
        if (turns_[row] != Turn::Waiting) continue;
        turns_[row] = Turn::Running;
        starting.push_back(row);
        ++busy;
    }
    return starting;
}

void JobSchedule::ended(std::size_t row, bool succeeded)
{
    if (row >= turns_.size() || turns_[row] != Turn::Running) return;
    turns_[row] = Turn::Ended;
    if (options_.oneFirst && row == 0 && !succeeded)
        for (Turn& turn : turns_)
            if (turn == Turn::Waiting) turn = Turn::NotStarted;
}

} // namespace fw
