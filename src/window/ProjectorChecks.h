#pragma once

#include <string>

#include "link/CheckModel.h"
#include "link/TestLink.h"
#include "package/CheckListFile.h"
#include "window/Tool.h"

namespace fw {

// The link test as the upgrade and the start-up use it: a port failure is
// shown at once; a projector that does not answer leaves Upgrade SW and
// Open File off and says so; an answer turns Open File on.
LinkCheck linkAnswers(Tool& tool);

// Why a test or an upgrade ends after this link test: none when it answered.
Reason reasonOf(const LinkCheck& check);

// The model check: Upgrade SW on for a projector that matches the package,
// off with a message for another model, and off with the link failure when
// no model name comes. True when Upgrade SW may stay enabled.
bool modelAllowsUpgrade(Tool& tool);
// The same, saying how the model compared.
ModelMatch judgeModel(Tool& tool);

// The package check as the window shows it: the package and lblSize as far
// as the check got, ListFileValid, and for a refused package Upgrade SW off
// and the message (none for a file that is merely unusable). True for a
// valid package.
bool checkPackage(Tool& tool, const std::string& listFilePath);

// The message the window shows for a refused package: the wrong package's
// own, or the missing file named; empty for a package that is merely
// unusable (refused without a word) and for a valid one.
std::string packageRefusal(PackageFault fault);

// The "Projector communication test" button.
LinkCheck cmdTest_Click(Tool& tool);

} // namespace fw
