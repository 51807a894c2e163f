#include "ProjectorModel.h"

#include "ImageIntegrity.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace fw::sim {

namespace {

// The loader reads as many hexadecimal digits as its prompt shows: "40000".
constexpr std::size_t kLengthDigits = 5;
constexpr char kNoiseByte = 0x55;

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

uint64_t hexNumber(const std::string& digits)
{
    uint64_t value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    return value;
}

} // namespace

ProjectorModel::ProjectorModel(ProjectorOptions options)
    : options_(std::move(options)), scaler_(options_.isp.timing)
{
}

std::string ProjectorModel::answerText(std::string text) const
{
    if (options_.lowerCaseAnswers)
        std::transform(text.begin(), text.end(), text.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

void ProjectorModel::say(std::vector<Emission>& out, Micros at, const std::string& text) const
{
    if (!text.empty()) out.push_back({at, text});
}

std::vector<Emission> ProjectorModel::receive(Micros at, std::string_view bytes)
{
    std::vector<Emission> out;
    std::string echo;
    std::string forScaler;
    auto flushEcho = [&] {
        if (options_.echo && !echo.empty()) out.push_back({at + options_.echoDelay, echo});
        echo.clear();
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        // On a faultless line the image is taken in runs: byte by byte the
        // simulator, not the host, would set the pace of an unpaced line.
        if (mode_ == Mode::Receiving && options_.faults == LineFaults{}) {
            i += takeImageRun(bytes.substr(i)) - 1;
            continue;
        }
        const char c = bytes[i];
        if (mode_ == Mode::Restarting && at >= restartsAt_) mode_ = Mode::Command;
        switch (mode_) {
        case Mode::Command: commandByte(at, c, echo, out); break;
        case Mode::Confirming: confirmingByte(at, c, out); break;
        case Mode::AwaitingLength: lengthByte(at, c, out); break;
        case Mode::Receiving: imageByte(at, c, out); break;
        case Mode::AwaitingLineEnd: lineEndByte(at, c, out); break;
        case Mode::Isp: forScaler += c; break;
        case Mode::Restarting:
        case Mode::Cut: break;
        }
        if (mode_ != Mode::Command) flushEcho();
    }
    flushEcho();
    if (!forScaler.empty())
        for (Emission& e : scaler_.receive(at, forScaler)) out.push_back(std::move(e));
    if (options_.silent) out.clear();
    return out;
}

void ProjectorModel::commandByte(Micros at, char c, std::string& echo, std::vector<Emission>& out)
{
    echo += c;
    if (c == '\r') {
        if (options_.echo && !echo.empty()) out.push_back({at + options_.echoDelay, echo});
        echo.clear();
        interpret(at, std::exchange(line_, {}), out);
    } else if (c != '\n') {
        line_ += c;
    }
}

void ProjectorModel::interpret(Micros at, const std::string& line, std::vector<Emission>& out)
{
    auto first = line.find_first_not_of(' ');
    const std::string command = first == std::string::npos ? std::string{} : line.substr(first);
    if (command.empty()) return;
    commands_.push_back(command);
    if (options_.silent || !options_.answer) return;
    const Micros when = at + options_.answerDelay;
    if (command == "ky nop") out.push_back({when, answerText("\r\nNOP\r\n")});
    else if (command == "op model.name ?") out.push_back({when, answerText("\r\n" + options_.modelName + "\r\n")});
    else if (command == "op dlmy") {
        mode_ = Mode::Confirming;
        say(out, when, options_.loader.question);
    } else if (command == "op dlgf") {
        mode_ = Mode::Isp;
        say(out, at + options_.isp.entryDelay, options_.isp.banner);
    } else out.push_back({when, "\r\n?\r\n"});
}

// Only the lower-case letter confirms; a line end gives up the download.
void ProjectorModel::confirmingByte(Micros at, char c, std::vector<Emission>& out)
{
    if (c == 'y') {
        mode_ = Mode::AwaitingLength;
        lengthDigits_.clear();
        say(out, at + options_.loader.replyDelay, options_.loader.lengthPrompt);
    } else if (c == '\r' || c == 'n') {
        cancelDownload(at, out);
    }
}

void ProjectorModel::lengthByte(Micros at, char c, std::vector<Emission>& out)
{
    if (c == '\r') {
        cancelDownload(at, out);
        return;
    }
    if (!isHexDigit(c)) return;
    lengthDigits_ += c;
    if (lengthDigits_.size() < kLengthDigits) return;
    if (hexNumber(lengthDigits_) != kUpImageBytes) {
        mode_ = Mode::Command;
        say(out, at + options_.loader.replyDelay, options_.loader.lengthRefused);
        return;
    }
    mode_ = Mode::Receiving;
    imageStreamBytes_ = 0;
    // The whole image's room is taken, and touched, before the data request
    // goes out: a transfer's time is then the line's and the host's, not
    // this model's growing its buffer.
    received_.assign(kUpImageBytes, '\0');
    received_.clear();
    lineEnd_.clear();
    say(out, at + options_.loader.replyDelay, options_.loader.dataRequest);
}

void ProjectorModel::imageByte(Micros at, char c, std::vector<Emission>& out)
{
    const uint64_t index = imageStreamBytes_++;
    const LineFaults& faults = options_.faults;
    if (faults.cutAtImageByte && index >= *faults.cutAtImageByte) {
        mode_ = Mode::Cut;
        return;
    }
    if (faults.noiseBeforeImageByte && index == *faults.noiseBeforeImageByte) takeImageByte(kNoiseByte);
    if (faults.dropImageByte && index == *faults.dropImageByte) return;
    const int copies = faults.duplicateImageByte && index == *faults.duplicateImageByte ? 2 : 1;
    for (int i = 0; i < copies; ++i) {
        if (mode_ == Mode::Receiving) takeImageByte(c);
        else if (mode_ == Mode::AwaitingLineEnd) lineEndByte(at, c, out);  // an extra byte filled the image
    }
}

void ProjectorModel::takeImageByte(char c)
{
    received_ += c;
    if (received_.size() == kUpImageBytes) mode_ = Mode::AwaitingLineEnd;
}

// As many image bytes as the loader still wants, at once; at least one.
std::size_t ProjectorModel::takeImageRun(std::string_view bytes)
{
    const std::size_t run = std::min<std::size_t>(bytes.size(), kUpImageBytes - received_.size());
    received_.append(bytes.substr(0, run));
    imageStreamBytes_ += run;
    if (received_.size() == kUpImageBytes) mode_ = Mode::AwaitingLineEnd;
    return run;
}

// The loader judges what it got: the whole image, then exactly CR LF.
void ProjectorModel::lineEndByte(Micros at, char c, std::vector<Emission>& out)
{
    lineEnd_ += c;
    if (lineEnd_.size() < 2) return;
    const bool whole = received_.size() == kUpImageBytes && lineEnd_ == "\r\n" &&
                       (!options_.loader.checksIntegrityTrailer || hasValidIntegrityTrailer(received_));
    if (whole) flashedUp_ = received_;
    say(out, at + options_.loader.replyDelay, whole ? options_.loader.verdictRight : options_.loader.verdictWrong);
    restart(at, out);
}

void ProjectorModel::cancelDownload(Micros at, std::vector<Emission>& out)
{
    mode_ = Mode::Command;
    say(out, at + options_.loader.replyDelay, "\r\nDownload cancelled\r\n");
}

void ProjectorModel::restart(Micros at, std::vector<Emission>& out)
{
    mode_ = Mode::Restarting;
    restartsAt_ = at + options_.loader.replyDelay + options_.loader.restartDelay;
    say(out, restartsAt_, options_.loader.restartBanner);
}

} // namespace fw::sim
