#pragma once

#include <string>

#include "qt/PortDevice.h"
#include "record/ServiceRecord.h"

namespace fw::qt {

// The service record every copy of the program on this machine appends to:
// upgrades.jsonl in the user's data folder, whichever program folder a run
// uses. With create, the folder is made when it does not exist yet.
std::string defaultRecordPath(bool create);

// The record as this machine writes it: the host's and the user's names,
// the device behind each port with its adapter's USB id and serial number,
// and a failure to write it told on standard error.
fw::RecordSetup recordSetup(std::string program, std::string path, PortDeviceOf deviceOf);

} // namespace fw::qt
