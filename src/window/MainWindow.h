#pragma once

#include <cstdint>
#include <string>

namespace fw {

struct Tool;

// Start-up of the main window: title, settings, port, and for a remembered
// valid package the link test and the model check. A port that cannot be
// opened is reported; a fault of the program reaches the caller.
void Form_Load(Tool& tool);

// Close request: true when the close must be cancelled (a download runs and
// the technician answered No).
bool Form_QueryUnload(Tool& tool);

// The window closes: normal pointer, any ISP tool stopped, port closed,
// failures ignored.
void Form_Unload(Tool& tool);

// The "&Exit" menu item: true when the program must end now.
bool pExit_Click(Tool& tool);

// The one-second clock: counts ElapsedSeconds and shows it in the
// processing window as minutes and seconds.
void Timer1_Timer(Tool& tool);

// Minutes and seconds for the elapsed-time label ("01:05", "125:00").
std::string elapsedText(int32_t seconds);

} // namespace fw
