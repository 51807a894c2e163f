#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Emission.h"
#include "VirtualEventLoop.h"
#include "isp/IspScaler.h"

namespace fw::sim {

// The firmware loader behind "op dlmy". Every text is what the loader sends
// at that step; an empty text is a loader that stays silent there. The
// defaults are a loader that behaves.
struct LoaderOptions {
    std::string question = "\r\nDownload new uP software ('y'/'n') ? ";
    std::string lengthPrompt = "\r\nImage length (40000H) : ";
    std::string dataRequest = "\r\nReady, send the file now\r\n";
    std::string verdictRight = "\r\nRight!\r\n";
    std::string verdictWrong = "\r\nWrong image, not flashed\r\n";
    std::string lengthRefused = "\r\nLength not supported\r\n";
    std::string restartBanner = "\r\nBOOT V2.10\r\n";
    Micros replyDelay = ms(20);
    Micros restartDelay = seconds(3);  // from the verdict to the banner
    // Checks the image's own integrity trailer before saying "Right!", so a
    // byte changed, lost or slipped in on the line is caught even when the
    // length comes out right. Off for images made without a trailer.
    bool checksIntegrityTrailer = false;
};

// Faults of the line while the image comes in, counted in bytes of the
// host's image stream (the first image byte is 0).
struct LineFaults {
    std::optional<uint64_t> cutAtImageByte{};     // from this byte on nothing gets through, either way
    std::optional<uint64_t> dropImageByte{};      // this byte is lost
    std::optional<uint64_t> noiseBeforeImageByte{};  // a stray byte arrives just before this one
    std::optional<uint64_t> duplicateImageByte{};    // this byte arrives twice

    bool operator==(const LineFaults&) const = default;
};

// The scaler's ISP mode behind "op dlgf".
struct IspModeOptions {
    std::string banner = "\r\nGENNUM GF9450 ISP ready\r\n";  // empty: enters ISP mode without a word
    Micros entryDelay = ms(300);
    isp::ScalerTiming timing{};
};

struct ProjectorOptions {
    std::string modelName = "QT2416";  // what "op model.name ?" reports
    bool silent = false;               // sends nothing at all
    bool echo = true;                  // echoes every received character
    bool answer = true;                // answers commands (false: echo only)
    bool lowerCaseAnswers = false;     // "nop", "qt2416"
    Micros echoDelay = ms(1);
    Micros answerDelay = ms(20);       // after the carriage return
    LoaderOptions loader{};
    LineFaults faults{};
    IspModeOptions isp{};
};

// The projector as a pure state machine: bytes in at a time, bytes out at
// later times. It knows the command interpreter the tool relies on, the
// firmware loader (which judges the image it gets and says "Right!" only
// for exactly 262144 bytes followed by CR LF), the restart, and the
// scaler's ISP mode in which the ISP tool flashes the scaler image. It
// keeps what it was flashed with, so tests can prove what arrived.
class ProjectorModel {
public:
    explicit ProjectorModel(ProjectorOptions options = {});

    std::vector<Emission> receive(Micros at, std::string_view bytes);

    ProjectorOptions& options() { return options_; }
    // Commands the interpreter has taken, in order (without their CR).
    const std::vector<std::string>& commands() const { return commands_; }

    // The uP image the loader accepted ("Right!"); nothing before that.
    const std::optional<std::string>& flashedUpImage() const { return flashedUp_; }
    // Every byte the loader took as image data in its last download, whole or not.
    const std::string& receivedUpImage() const { return received_; }
    // The scaler image the ISP mode verified; nothing while erased or partly written.
    const std::optional<std::string>& flashedScalerImage() const { return scaler_.flashed(); }

    isp::IspScaler& scaler() { return scaler_; }
    bool inIspMode() const { return mode_ == Mode::Isp; }
    bool lineCut() const { return mode_ == Mode::Cut; }

    static constexpr uint64_t kUpImageBytes = 0x40000;

private:
    enum class Mode { Command, Confirming, AwaitingLength, Receiving, AwaitingLineEnd, Restarting, Isp, Cut };

    void interpret(Micros at, const std::string& line, std::vector<Emission>& out);
    std::string answerText(std::string text) const;
    void say(std::vector<Emission>& out, Micros at, const std::string& text) const;

    void commandByte(Micros at, char c, std::string& echo, std::vector<Emission>& out);
    void confirmingByte(Micros at, char c, std::vector<Emission>& out);
    void lengthByte(Micros at, char c, std::vector<Emission>& out);
    void imageByte(Micros at, char c, std::vector<Emission>& out);
    void takeImageByte(char c);
    std::size_t takeImageRun(std::string_view bytes);
    void lineEndByte(Micros at, char c, std::vector<Emission>& out);
    void cancelDownload(Micros at, std::vector<Emission>& out);
    void restart(Micros at, std::vector<Emission>& out);

    ProjectorOptions options_;
    Mode mode_ = Mode::Command;
    std::string line_;
    std::vector<std::string> commands_;

    std::string lengthDigits_;
    uint64_t imageStreamBytes_ = 0;  // bytes the host sent since the data request
    std::string received_;
    std::string lineEnd_;
    std::optional<std::string> flashedUp_;
    Micros restartsAt_ = 0;

    isp::IspScaler scaler_;
};

} // namespace fw::sim
