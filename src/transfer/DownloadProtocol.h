#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "link/Link.h"
#include "transfer/KeywordWait.h"

namespace fw {

// The loader's download protocol for the uP image, phase by phase. Each
// phase says how it ended; none of them shows anything.

enum class DownloadMode {
    Entered,
    NoQuestion,  // the loader never asked
    PortFailed,  // sending "op dlmy" failed: no question can come over that port
};

struct DownloadModeEntry {
    DownloadMode mode;
    PortFailure portFailure;
};

// A: "op dlmy", the loader's question, "y".
DownloadModeEntry enterDownloadMode(Link& link);

// B: the length prompt, a pause, the image's length, the data request. False
// when the loader stopped answering.
bool announceLength(Link& link, uint64_t imageBytes);

// C, first step: received bytes are not text while the image goes out.
void beginImageTransfer(Link& link);

enum class ImageSending {
    Sent,
    ImageUnusable,  // the image cannot be read, or no longer holds the announced bytes
    PortFailed,     // the port failed, or the line did not carry the image in time
};

// Told before each block how many of the image's bytes the port will have
// been handed once that block is out, and at the end the whole image.
using ProgressSink = std::function<void(uint64_t sentBytes, uint64_t totalBytes)>;

// C, the rest: the image in raw 1024-byte blocks, progress before each
// block and at the end, then text mode and CR LF, and a wait until the line has carried
// everything the driver and the adapter still held, so the loader's verdict
// is awaited from when it can come. The image must still hold exactly the
// announced number of bytes; nothing is sent otherwise.
ImageSending sendImage(Link& link, const std::string& imagePath, uint64_t announcedBytes,
                       const ProgressSink& progress);

// D: the loader's verdict.
Verdict readVerdict(Link& link);

// E: the restart banner, then the pause the projector needs before the
// scaler phase. False when no banner came.
bool awaitRestart(Link& link);

// The wire side of an abort: text mode and CR LF, which ends whatever the
// loader was waiting for. Each step is tried even when the one before it
// failed; false when the line end could not be sent.
bool endLoaderDialogue(Link& link);

} // namespace fw
