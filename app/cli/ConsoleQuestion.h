#pragma once

#include <istream>
#include <string>

#include "Console.h"
#include "job/Question.h"

namespace fw::cli {

// The upgrade's question asked on the terminal, after the projector's prefix.
class ConsoleQuestion final : public fw::UpgradeQuestion {
public:
    ConsoleQuestion(Console& console, std::string prefix, std::istream& in)
        : console_(console), prefix_(std::move(prefix)), in_(in)
    {
    }
    bool confirm(const std::string& text) override { return console_.ask(prefix_ + text, in_); }

private:
    Console& console_;
    std::string prefix_;
    std::istream& in_;
};

} // namespace fw::cli
