#pragma once

#include "ground/Events.h"
#include "transfer/ScalerFlash.h"
#include "window/Tool.h"

namespace fw {

// The scaler phase: ISP mode, the vendor's ISP tool run on the port, its log
// judged, one retry; the processing window meanwhile, and the outcome told.
// Returns why it failed, or Reason::None when the scaler holds its image;
// its last box ends the operation under way (the upgrade, whose last step
// it is) as it opens.
Reason cmdFlashSW2_Click(Tool& tool);

} // namespace fw
