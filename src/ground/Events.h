#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace fw {

// What happens during a test or an upgrade, told as it happens. The window
// shows it through its View; everything else that wants to know (the
// command line, the service record, a fleet driver) listens to these and
// never reads the screen.

// What a front end was asked to do.
enum class Operation { Test, Upgrade, Check };

// The steps of an operation, in the order an upgrade goes through them.
enum class Phase {
    LinkTest,       // "ky nop"
    ModelCheck,     // "op model.name ?"
    DownloadMode,   // "op dlmy", "y", the length
    ImageTransfer,  // the uP image's blocks, CR LF
    Verdict,        // "Right!"
    Restart,        // "BOOT"
    IspMode,        // "op dlgf" and the scaler's banner
    IspToolRun,     // one run of the ISP tool
};

// How a phase ended.
enum class PhaseOutcome {
    Ok,
    NoAnswer,       // nothing, or not the awaited keyword, came in time
    WrongAnswer,    // a reply, but not the awaited one (no "NOP"; a verdict in another letter case)
    Mismatch,       // the projector is another model than the package's
    NotJudged,      // no package to judge the model against
    PortFailed,
    ImageUnusable,  // the image cannot be read, or changed since it was checked
    TimeUp,         // the ISP tool ran past its time limit and was stopped
    NoSuccessLine,  // the ISP tool's log does not end with the success line
    Interrupted,    // broken off by a failure the step does not expect; the operation's end says which
};

// Why an operation ended.
enum class Reason {
    None,                // it did what was asked
    Declined,            // the technician answered No
    PackageNotValid,
    PortNotOpened,
    NoAnswer,            // the projector did not answer
    WrongAnswer,         // the projector answered, but not as it should
    PortFailed,          // the port failed during an exchange
    ModelMismatch,
    LoaderNoAnswer,      // the loader stopped answering before the image
    ImageUnusable,
    UpImageNotTaken,     // the loader gave no verdict of success
    NoRestart,           // the projector did not come back after the uP image
    IspFolderUnusable,   // the ISP tool's folder cannot be made ready or stays busy
    ScalerImageMissing,
    IspToolNotStarted,
    IspToolFailed,       // two runs without the success line
    Unexpected,          // a failure no step expects: a fault of the program
};

struct OperationStarted {
    Operation operation;
    int port = 0;  // the port number; 0 for a package check
};

struct OperationEnded {
    Operation operation;
    Reason reason;
    bool succeeded() const { return reason == Reason::None; }
};

struct PhaseStarted {
    Phase phase;
    int run = 0;  // the ISP tool's run, 1 or 2; 0 for the other phases
};

struct PhaseEnded {
    Phase phase;
    PhaseOutcome outcome;
    int run = 0;
};

// An image as the package check found it.
struct ImageFile {
    std::string name;  // as the list file writes it
    std::string path;  // where it was read
    uint64_t size = 0;
};

struct PackageChecked {
    std::string listFile;
    bool valid = false;
    std::optional<ImageFile> up;  // as far as the check got
    std::optional<ImageFile> scaler;
};

// The projector's reply to the model query, as received, and the model as
// found in it.
struct ModelReplied {
    std::string reply;
    std::string model;        // the reply's word with the family mark ("QT-2416"); empty when none
    std::string modelNumber;  // the model number that matched the package's; empty when none did
};

struct ImageProgress {
    uint64_t sentBytes;   // handed to the port once the block now going out is
    uint64_t totalBytes;
};

struct IspToolStarted {
    int run;
    int32_t timeLimitSeconds;
};

// Whole seconds the run has taken so far, once a second.
struct IspToolElapsed {
    int run;
    int32_t seconds;
};

struct IspToolEnded {
    int run;
    bool timedOut = false;                // stopped at its time limit
    std::optional<int> exitCode;          // when it ended by itself and the system told
    std::optional<std::string> logLine;   // the log's last line, when the log was read
};

enum class MessageKind {
    Status,       // a progress text without a box
    Information,  // a box with the information icon
    Error,        // a box with the stop icon
    Question,     // a Yes/No box
};

struct MessageShown {
    MessageKind kind;
    std::string text;
    std::optional<bool> answeredYes;  // for a question
};

using Event = std::variant<OperationStarted, OperationEnded, PhaseStarted, PhaseEnded, PackageChecked, ModelReplied,
                           ImageProgress, IspToolStarted, IspToolElapsed, IspToolEnded, MessageShown>;

// Whoever wants to know what happens.
class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void tell(const Event& event) = 0;
};

// Tells every listener, in the order they were added.
class EventHub final : public EventSink {
public:
    void add(EventSink& sink) { sinks_.push_back(&sink); }
    void remove(EventSink& sink) { std::erase(sinks_, &sink); }
    void tell(const Event& event) override
    {
        for (EventSink* sink : sinks_) sink->tell(event);
    }

private:
    std::vector<EventSink*> sinks_;
};

// The names the events go by outside the program (JSON, the record).
const char* nameOf(Operation operation);
const char* nameOf(Phase phase);
const char* nameOf(PhaseOutcome outcome);
const char* nameOf(Reason reason);
const char* nameOf(MessageKind kind);

} // namespace fw
