#pragma once

namespace fw {

struct Tool;

// Applies settings.ini: the stored port number (closing the port) and the
// remembered list file (checked again).
void Load_Setting(Tool& tool);

// Stores the port dialog's list text as the port number.
void Save_Setting(Tool& tool);

// The "&RS232" menu item: shows the port dialog, then applies the settings.
void RS_232_Click(Tool& tool);

// The port dialog's OK button: applies the chosen port and stores it.
void RS232_Click(Tool& tool);

} // namespace fw
