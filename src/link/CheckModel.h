#pragma once

namespace fw {

struct Tool;

// Asks the projector for its model and compares the model number with the
// one in the uP image path. True when "Upgrade SW" may stay enabled.
bool CheckModel(Tool& tool);

} // namespace fw
