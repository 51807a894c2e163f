#pragma once

namespace fw {

struct Tool;

// The scaler phase: ISP mode, the vendor's ISP tool run on the port, its log
// judged, one retry.
void cmdFlashSW2_Click(Tool& tool);

// Reads the last line of the ISP tool's log.txt into Label5.
void ReadToolLog(Tool& tool);

} // namespace fw
