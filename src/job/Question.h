#pragma once

#include <string>

namespace fw {

// The confirmation before an upgrade, asked by whatever runs the job: a
// window's Yes/No box, a terminal's prompt, or answered ahead for every
// projector at once.
class UpgradeQuestion {
public:
    virtual ~UpgradeQuestion() = default;
    // True for Yes.
    virtual bool confirm(const std::string& text) = 0;
};

// The technician answered Yes before the job started (fwupgrade --yes, or
// the one question asked for a whole venue).
class AnsweredYes final : public UpgradeQuestion {
public:
    bool confirm(const std::string&) override { return true; }
};

} // namespace fw
