#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "transfer/KeywordWait.h"

namespace fw {

struct Tool;

// The loader's download protocol for the uP image, phase by phase. Phases A,
// B and E return false when the projector stopped answering; phase C throws
// on any failure of the image file or the port.

// The image length as the loader wants it: upper-case hexadecimal without
// leading zeros, prefix, suffix or line end ("40000" for 262144 bytes).
// Empty when the caption holds no whole number of bytes.
std::optional<std::string> lengthText(std::string_view lblSizeCaption);

enum class DownloadMode {
    Entered,
    NoQuestion,            // the loader never asked
    PortFailureReported,   // sending "op dlmy" failed, and the technician has been told
};

// A: "op dlmy", the loader's question, "y".
DownloadMode enterDownloadMode(Tool& tool);

// B: the length prompt, a pause, the length, the data request.
bool announceLength(Tool& tool, const std::string& length);

// C, first step: received bytes are not text while the image goes out.
void beginImageTransfer(Tool& tool);

// The image on disk no longer matches what was announced or cannot be read.
struct ImageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// C, the rest: the image in raw 1024-byte blocks, progress before each
// block, then text mode and CR LF. The image must still hold exactly the
// announced number of bytes (ImageError otherwise, before anything is sent).
void sendImage(Tool& tool, const std::string& imagePath, uint64_t announcedBytes);

// C, last: waits until the line has carried everything the driver and the
// adapter still held, so the loader's verdict is awaited from when it can
// come. A line that does not drain in time is a failed device (PortError).
void waitUntilLineCarriedImage(Tool& tool);

// D: the loader's verdict.
Verdict readVerdict(Tool& tool);

// E: the restart banner, then the pause the projector needs before the
// scaler phase.
bool awaitRestart(Tool& tool);

// The wire side of an abort: text mode and CR LF, which ends whatever the
// loader was waiting for. Each step is tried even when the one before it
// failed; false when the line end could not be sent.
bool endLoaderDialogue(Tool& tool);

} // namespace fw
