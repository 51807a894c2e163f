#pragma once

#include <string>
#include <vector>

#include "Scenario.h"

namespace fw::explore {

// The package every run uses: written once, named by absolute paths.
struct SharedPackage {
    std::string folder;
    std::string listFile;
    std::string scalerImage;
    std::string upBytes;
    std::string scalerBytes;
};

SharedPackage makeSharedPackage(const std::string& folder);

struct Verdict {
    std::vector<std::string> violations;  // empty when every promise held
    std::vector<std::string> messages;    // every box, in order
    double virtualSeconds = 0;
};

// Runs the scenario's flows on the virtual clock and checks what the
// technician must be able to rely on, whatever the projector does.
Verdict runScenario(const Scenario& scenario, const SharedPackage& package);

} // namespace fw::explore
