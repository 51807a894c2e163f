#pragma once

#include <string>

#include "link/Link.h"

namespace fw {

// What the projector's model name says about the package.
enum class ModelMatch {
    Matches,      // the model number of the uP image path is in the name, or the path names none
    Mismatch,     // the path names another model
    NoPackage,    // the path names no model and no list file is known: nothing to judge
    NotAnswered,  // no model name came back
    PortFailed,   // the port failed and nothing came back
};

struct ModelCheck {
    ModelMatch match;
    PortFailure portFailure;  // set whenever the port failed, even if a reply came
    std::string reply;        // as received, echo and line ends included
    std::string model;        // the reply's word with the family mark ("QT-2416"); empty when none
    std::string number;       // the model number that matched the package's; empty when none did
};

// Asks the projector for its model and compares the model number with the
// one in the uP image path.
ModelCheck CheckModel(Link& link, const std::string& upImagePath, bool listFileKnown);

} // namespace fw
