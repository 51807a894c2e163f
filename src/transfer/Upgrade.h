#pragma once

namespace fw {

struct Tool;

// The "Upgrade SW" button: the whole upgrade, from the confirmation to the
// scaler flash.
void cmdUpgradeSW_Click(Tool& tool);

} // namespace fw
