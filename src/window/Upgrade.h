#pragma once

#include "window/Tool.h"

namespace fw {

// How an upgrade ended, for a front end that must tell the technician
// without reading the screen.
enum class UpgradeOutcome {
    NotReady,       // no valid package: nothing was started
    Declined,       // the technician answered No
    LinkFailed,     // the port or the link failed before the uP image went out
    UpFailed,       // the uP image was not taken: the scaler was left alone
    ScalerFailed,   // the uP image was taken, the scaler phase failed
    Complete,       // both images are in the projector
};

// The "Upgrade SW" button: the whole upgrade, from the confirmation to the
// scaler flash.
UpgradeOutcome cmdUpgradeSW_Click(Tool& tool);

} // namespace fw
