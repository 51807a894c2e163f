#pragma once

#include "transfer/ScalerFlash.h"
#include "window/Tool.h"

namespace fw {

// The scaler phase: ISP mode, the vendor's ISP tool run on the port, its log
// judged, one retry; the processing window meanwhile, and the outcome told.
ScalerResult cmdFlashSW2_Click(Tool& tool);

} // namespace fw
