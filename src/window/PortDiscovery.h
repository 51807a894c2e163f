#pragma once

#include <vector>

#include "ground/PortNumbering.h"

namespace fw {

struct Tool;

// The port dialog's list of the devices present now, each with its number
// as settings.ini and a device picked but not yet confirmed give them. A
// picked device that has gone is forgotten.
std::vector<DetectedPort> detectedPorts(Tool& tool, SerialDeviceSource& source);

// The technician picks a detected device: the list text becomes its number;
// a number new to settings.ini waits for OK to write its "Ports" line.
void pickDetectedPort(Tool& tool, const DetectedPort& port);

// At OK: a device or serial server typed into the dialog's device field
// becomes the chosen number's pick, its "Ports" line written like a picked
// device's, and the field is emptied. False, with the message shown, for a
// serial server written wrongly; nothing is then picked.
bool takeTypedDevice(Tool& tool, int chosenNumber);

// At OK, before the port opens (the port finds its device through the
// line): writes the picked device's line when the chosen number is the one
// it was given. False when the line was due and could not be written; the
// port would then open another device.
bool writePickedPortLine(Tool& tool, int chosenNumber);

} // namespace fw
