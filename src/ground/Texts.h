#pragma once

// Every text the technician is shown by the window's logic: message boxes,
// status lines and the captions the logic writes. The window, the
// command-line front end and the tests all take them from here, so a
// reworded message changes in one place.
namespace fw::texts {

inline constexpr const char* ProgramTitle = "Firmware Upgrade Tool";
inline constexpr const char* ProgramVersion = "1.1.4";
inline constexpr const char* MessageBoxTitle = ProgramTitle;

// The link and the communication test.
inline constexpr const char* LinkFailed = "Communication with projector failed.";
inline constexpr const char* TestOk = "Test OK!";
inline constexpr const char* TestFailed = "Test failed!";
inline constexpr const char* ModelMismatch = "Text file doesn't match the connected projector.";

// The port: "COM" and the number come first.
inline constexpr const char* InvalidPortTail = " is invalid. Please select an available RS232 port.";
inline constexpr const char* PortInUseTail =
    " is currently being used by another program.  Please close that program and try again.";
inline constexpr const char* PortNoPermission = " cannot be opened: this user has no permission to use it.  Please ";
inline constexpr const char* PortInUseOrNoPermission =
    " cannot be opened: another program is using it, or this user has no permission to use it.  "
    "Please close that program, or ";
// "add the user to the dialout group, then log in again.", with the group
// the device itself belongs to where the system tells it.
inline constexpr const char* JoinGroup = "add the user to the ";
inline constexpr const char* DefaultDeviceGroup = "dialout";
inline constexpr const char* JoinGroupTail = " group, then log in again.";
// "COM1 (/dev/ttyUSB0) is used by minicom (process 4711).  Please close that program and try again."
inline constexpr const char* PortUsedBy = " is used by ";
inline constexpr const char* PortUsedByTail = ".  Please close that program and try again.";
// "COMn cannot be given to DEVICE: SETTINGS cannot be written."
inline constexpr const char* PortLineNotGiven = " cannot be given to ";
inline constexpr const char* PortLineNotWritten = " cannot be written.";

// Network ports: "The serial server at HOST:PORT" (or "The connection to
// the serial server at HOST:PORT"), then what happened. Told after the
// message the failure gives ("Communication with projector failed.").
inline constexpr const char* ServerAt = "The serial server at ";
inline constexpr const char* ConnectionToServerAt = "The connection to the serial server at ";
inline constexpr const char* ServerRefused = " refused the connection.";
inline constexpr const char* ServerNotFound = " cannot be found.";
inline constexpr const char* ServerSilentFor = " did not answer within ";
inline constexpr const char* SecondsEnd = " s.";
inline constexpr const char* ServerLost = " was lost.";
inline constexpr const char* ServerStoppedTaking = " stopped taking data.";
inline constexpr const char* ServerNoLineControl = " does not set serial lines (RFC 2217): use socket:// for a raw TCP gateway.";
// "... set the line to 9600 bit/s, not 38400."
inline constexpr const char* ServerSetLine = " set the line to ";
inline constexpr const char* NotAsked = ", not ";
inline constexpr const char* BitsPerSecond = " bit/s";
inline constexpr const char* DataBits = " data bits";
inline constexpr const char* ParityNumber = "parity code ";
inline constexpr const char* StopBitsCode = "stop bits code ";
inline constexpr const char* NotANetworkPort =
    " is not a network port: write rfc2217://HOST:PORT or socket://HOST:PORT.";
inline constexpr const char* NoPortRelay =
    "the ISP tool cannot reach a network port on this system. Please use the serial server's own virtual COM port "
    "driver and choose its COM port.";
inline constexpr const char* NoNetworkPorts =
    " cannot be opened: this build of the program has no network ports (rfc2217://, socket://). Please use the "
    "serial server's own virtual COM port driver and choose its COM port.";

// fwupgrade ports, below the list: "DEVICE: its latency timer is 16 ms ...".
inline constexpr const char* LatencyTimerIs = ": its latency timer is ";
inline constexpr const char* LatencyTimerTail =
    " ms, so received bytes reach the program in bursts that far apart. 1 ms suits a serial line: "
    "echo 1 > /sys/bus/usb-serial/devices/";
inline constexpr const char* LatencyTimerFile = "/latency_timer (as root).";
// "ModemManager runs: ..."
inline constexpr const char* GrabberRuns =
    " runs: it opens some USB serial adapters as they appear and may hold one. If a port is refused or loses "
    "bytes, stop it (sudo systemctl stop ";
inline constexpr const char* GrabberRunsTail = ") or remove its package.";

// The package.
inline constexpr const char* ListFileNotValid = "Selected text file is not valid. Please select a valid file.";
inline constexpr const char* UpSizeIncorrect = "ERROR: uP file size incorrect.";
inline constexpr const char* ScalerSizeIncorrect = "ERROR: Scaler file size incorrect.";
inline constexpr const char* FileNotFound = "File not found";
inline constexpr const char* PathNotFound = "Path not found";
inline constexpr const char* FindTheImages = ". Please find the (.bin) binary file(s) listed in the selected text file.";

// The upgrade.
inline constexpr const char* UpgradeConfirmation =
    "This upgrading process may take 15 minutes. During this time, DO NOT EXIT THIS PROGRAM and DO NOT PULL OUT "
    "COMMUNICATION CABLE. Otherwise, it will cause serious damage to the projector. Do you want to continue?";
inline constexpr const char* Downloading = "Downloading, please wait ...";
inline constexpr const char* Preparing = "Processing, please wait ...";
inline constexpr const char* FileOneOfTwo = "Downloading file 1 of 2";
inline constexpr const char* FileTwoOfTwo = "Downloading file 2 of 2";
inline constexpr const char* UpVerdictOk =
    "uP software downloaded ok. Now starting scaler software download. Please wait ...";
inline constexpr const char* UpFailed = "ERROR: uP software download failed!";
inline constexpr const char* DownloadComplete =
    "Download complete. Don't forget to turn the projector AC power off and on again to complete the software "
    "upgrading process.";

// The ISP tool.
inline constexpr const char* ToolMissing = "ERROR: Can't find file.";
inline constexpr const char* ToolUnknownError = "Error!";
inline constexpr const char* ToolNotOpened = "ERROR: Can't open file.";
inline constexpr const char* ToolExpectedIn = " is expected in ";
inline constexpr const char* WaitingForFolder = "Waiting for another upgrade's ISP tool to finish ...";
inline constexpr const char* FolderStaysBusy = "ERROR: Another upgrade's ISP tool still runs in ";
inline constexpr const char* FolderNotLockable = "ERROR: Can't lock the ISP tool folder ";
inline constexpr const char* OldLogStays = "ERROR: Can't delete the old ISP tool log ";
// A Windows build of the tool where wine must run it: "ERROR: Can't start
// TOOL: it is a Windows program, and " then what is missing, and the setting
// that names the runner ("RUNNER= in the [ISP] section of settings.ini").
inline constexpr const char* ToolCannotStart = "ERROR: Can't start ";
inline constexpr const char* ToolIsWindowsProgram = ": it is a Windows program, and ";
inline constexpr const char* WineMissing =
    "wine, which runs it here, is not installed. Please install wine (Debian package \"wine\"), or name the "
    "program that runs Windows programs as ";
inline constexpr const char* RunnerMissing =
    " names no program that can be run. Please install wine (Debian package \"wine\") and correct or remove ";
// A 32-bit Windows build of the tool that cannot run here: "ERROR: Can't
// start TOOL: it is a 32-bit Windows program, and " then why.
inline constexpr const char* ToolIs32BitProgram = ": it is a 32-bit Windows program, and ";
inline constexpr const char* No32BitSupport =
    "this computer's Linux runs no 32-bit programs (its kernel was built or started without 32-bit support), so "
    "wine cannot run it. Please start Linux with 32-bit support (kernel option ia32_emulation=1), use a computer "
    "that has it, or ask the tool's vendor for a 64-bit build.";
inline constexpr const char* Wine32Missing =
    "wine's 32-bit part, which runs it here, is not installed. Please install it (Debian: dpkg --add-architecture "
    "i386, then apt-get install wine32:i386).";
inline constexpr const char* SettingIn = " in ";
inline constexpr const char* SettingInSection = " in the [";
inline constexpr const char* SectionOfFile = "] section of ";

// The service record read back: the history window and the report.
namespace report {
inline constexpr const char* Title = "Firmware service report";
inline constexpr const char* Upgrade = "Firmware upgrade";
inline constexpr const char* Test = "Projector communication test";
// The outcome, in large type, where no box said it.
inline constexpr const char* Succeeded = "Succeeded";
inline constexpr const char* Failed = "Failed";
inline constexpr const char* Declined = "Not started";
inline constexpr const char* DeclinedNote = "The technician answered No when asked to start the upgrade.";
inline constexpr const char* Unfinished = "Unfinished";
inline constexpr const char* UnfinishedNote =
    "The record holds the start of this operation and no end: the program stopped before the operation ended.";
inline constexpr const char* FailedBecause = "Failed: ";  // then the reason
// The facts of one projector.
inline constexpr const char* Projector = "Projector";
inline constexpr const char* Model = "Model";
inline constexpr const char* ModelNumber = "Model number matched";
inline constexpr const char* ModelReply = "Model reply";
inline constexpr const char* Port = "Port";
inline constexpr const char* UsbAdapter = "USB adapter";
inline constexpr const char* AdapterSerial = ", serial number ";
inline constexpr const char* Label = "Label";
inline constexpr const char* Venue = "Venue";
inline constexpr const char* Package = "Package";
inline constexpr const char* ListFile = "List file";
inline constexpr const char* Image = "Image";
inline constexpr const char* ImageName = "Name";
inline constexpr const char* ImageSize = "Size (bytes)";
inline constexpr const char* ImageByteSum = "Byte sum (hex)";
inline constexpr const char* ImageSha256 = "SHA-256";
inline constexpr const char* ImagePath = "Path";
inline constexpr const char* UpImage = "uP image";
inline constexpr const char* ScalerImage = "Scaler image";
inline constexpr const char* Outcome = "Outcome";
inline constexpr const char* Message = "Message shown";
inline constexpr const char* Timeline = "Timeline";
inline constexpr const char* Phase = "Phase";
inline constexpr const char* Phases = "Phases";
inline constexpr const char* PhaseStart = "From start";
inline constexpr const char* PhaseLength = "Took";
inline constexpr const char* IspRuns = "ISP tool";
inline constexpr const char* IspRun = "Run ";  // then its number
inline constexpr const char* IspTimedOut = "stopped at its time limit";
inline constexpr const char* IspExit = "exit code ";
inline constexpr const char* IspNoExit = "no exit code";
inline constexpr const char* IspLogLine = "log: ";
inline constexpr const char* IspNoLog = "log not read";
inline constexpr const char* Service = "Service";
inline constexpr const char* Technician = "Technician";
inline constexpr const char* Computer = "Computer";
inline constexpr const char* Program = "Program";
inline constexpr const char* RecordId = "Record id";
inline constexpr const char* Started = "Started";
inline constexpr const char* Ended = "Ended";
inline constexpr const char* Duration = "Duration";
inline constexpr const char* Utc = " UTC";
inline constexpr const char* LocalTime = " local time";  // after the time and its offset
// The first page of a report on several projectors.
inline constexpr const char* Summary = "Summary";
inline constexpr const char* When = "Started (local time)";
inline constexpr const char* Operations = " operations: ";  // "4 operations: 3 succeeded, 1 failed"
inline constexpr const char* CountSucceeded = " succeeded";
inline constexpr const char* CountFailed = " failed";
inline constexpr const char* CountDeclined = " not started";
inline constexpr const char* CountUnfinished = " unfinished";
// The phases and their outcomes, as people name them.
inline constexpr const char* LinkTest = "Link test";
inline constexpr const char* ModelCheck = "Model check";
inline constexpr const char* DownloadMode = "Download mode";
inline constexpr const char* ImageTransfer = "uP image";
inline constexpr const char* Verdict = "Verdict";
inline constexpr const char* Restart = "Restart";
inline constexpr const char* IspMode = "ISP mode";
inline constexpr const char* IspToolRun = "ISP tool run ";  // then its number
inline constexpr const char* PhaseUnended = "not ended";
// The history window.
inline constexpr const char* HistoryMenu = "&History";
inline constexpr const char* HistoryTitle = "Service record";
inline constexpr const char* ColumnWhen = "Started";
inline constexpr const char* ColumnOperation = "Operation";
inline constexpr const char* ColumnPort = "Port";
inline constexpr const char* ColumnLabel = "Label";
inline constexpr const char* ColumnVenue = "Venue";
inline constexpr const char* ColumnModel = "Model";
inline constexpr const char* ColumnPackage = "Package";
inline constexpr const char* ColumnOutcome = "Outcome";
inline constexpr const char* ColumnDuration = "Duration";
inline constexpr const char* FilterOutcome = "Outcome:";
inline constexpr const char* FilterAll = "All";
inline constexpr const char* FilterSucceeded = "Succeeded";
inline constexpr const char* FilterFailed = "Failed";
inline constexpr const char* FilterDeclined = "Not started";
inline constexpr const char* FilterUnfinished = "Unfinished";
inline constexpr const char* FilterText = "Find:";
inline constexpr const char* FilterTextHint = "port, label, model or package";
inline constexpr const char* FilterDates = "From";
inline constexpr const char* FilterTo = "to";
inline constexpr const char* SaveReport = "Save report...";
inline constexpr const char* SaveReportTitle = "Save the report";
inline constexpr const char* SaveReportFilter = "PDF (*.pdf);;HTML (*.html)";
inline constexpr const char* ReportNotWritten = "The report was not written: ";
inline constexpr const char* Reading = "Reading the service record ...";
inline constexpr const char* NoRecord = "No service record yet at ";
inline constexpr const char* EntriesIn = " entries in ";   // "1234 entries in PATH"
inline constexpr const char* EntriesShown = ", shown: ";
inline constexpr const char* DamagedLines = " damaged lines read past: ";
inline constexpr const char* SelectAnEntry = "Select an entry to see everything it holds.";
} // namespace report

// A fault of the program itself, not of the projector, the line or the
// package: "ERROR: Internal program error: " then what failed, then the tail.
inline constexpr const char* InternalError = "ERROR: Internal program error: ";
inline constexpr const char* InternalErrorTail = ". The operation was stopped. Please report this message.";

// A venue file: "line 4: " then what is wrong with the line.
inline constexpr const char* VenueLine = "line ";
// The same for a row about to be written: "projector 4: ".
inline constexpr const char* VenueRow = "projector ";
inline constexpr const char* VenueNoEquals = "no \"=\" between the projector's label and its port";
inline constexpr const char* VenueNoLabel = "no label before the \"=\"";
inline constexpr const char* VenueNoPort = "no port after the \"=\"";
// "the port \"COM0\" is not one: write ..."
inline constexpr const char* VenuePortIs = "the port \"";
inline constexpr const char* VenueNotAPort =
    "\" is not one: write COMn (n from 1 to 255), a device path such as /dev/ttyUSB0, or a serial server as "
    "rfc2217://HOST:PORT or socket://HOST:PORT";
// "the label \"Booth\" is on line 3 already"
inline constexpr const char* VenueLabelIs = "the label \"";
inline constexpr const char* VenuePortTwice = "\" is on line ";
inline constexpr const char* VenueAlready = " already";
inline constexpr const char* VenueLabelUnwritable =
    "\" cannot be written: a label is not empty, holds no \"=\" and does not begin with \"[\", \";\" or \"#\"";
inline constexpr const char* VenueUnreadable = "the file cannot be read";
inline constexpr const char* VenueNotWritten = "the file cannot be written";
inline constexpr const char* VenueNotOverwritten = "it holds lines that are not a venue's, and is left as it is: ";

// Several projectors at once. The question before they start: "Upgrading
// 4 projectors: Left stack (COM11), ..., Booth (COM12)." then the upgrade's
// own question. The summary at the end: "3 of 4 projectors upgraded.
// Failed: Right stack (COM3): Communication with projector failed."
inline constexpr const char* VenueUpgrading = "Upgrading ";
inline constexpr const char* VenueOneProjector = " projector: ";
inline constexpr const char* VenueProjectors = " projectors: ";
inline constexpr const char* VenueOf = " of ";
inline constexpr const char* VenueUpgraded = " projectors upgraded.";
inline constexpr const char* VenueChecked = " projectors answered as they should.";
inline constexpr const char* VenueFailed = " Failed: ";
inline constexpr const char* VenueNotStartedList = " Not started: ";
// A row that "one first" left alone: "Not started: Left stack (COM11) did not end with "Download complete"."
inline constexpr const char* VenueNotStarted = "Not started: ";
inline constexpr const char* VenueFirstDidNotComplete = " did not end with \"Download complete\".";
inline constexpr const char* VenueFirstDidNotPass = " did not pass.";

// The venue window.
inline constexpr const char* VenueWindowTitle = "Venue - Firmware Upgrade Tool";
inline constexpr const char* VenueNoRows = "There is no projector to work on. Please add a row for each projector first.";
// "The venue file C:\\hall.ini cannot be used: line 4: ..."
inline constexpr const char* VenueFileIs = "The venue file ";
inline constexpr const char* VenueCannotBeUsed = " cannot be used: ";
inline constexpr const char* VenueCannotBeSaved = " cannot be saved: ";
inline constexpr const char* VenuePortsClash = "The projectors' ports cannot be used together: ";

// A job's end in one line, for a summary: what failed, then ": " and the
// last message the technician would have been left with.
inline constexpr const char* JobPackageNotValid = "the package is not valid";
inline constexpr const char* JobPortNotOpened = "cannot open the port";
inline constexpr const char* JobNoAnswer = "the projector does not answer";
inline constexpr const char* JobModelUnsuited = "the package does not suit this projector";
inline constexpr const char* JobTestFailed = "the projector communication test failed";
inline constexpr const char* JobNotStarted = "the upgrade was not started";
inline constexpr const char* JobUpgradeFailed = "the upgrade failed";

// Closing the window.
inline constexpr const char* CloseWhileBusy = "now, the projector will become damaged. Are you sure?";
inline constexpr const char* ExitQuestion = "Exit this program?";

} // namespace fw::texts
