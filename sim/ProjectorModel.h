#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "VirtualEventLoop.h"

namespace fw::sim {

// Bytes the projector sends, and when they leave it.
struct Emission {
    Micros at;
    std::string bytes;
};

struct ProjectorOptions {
    std::string modelName = "QT2416";  // what "op model.name ?" reports
    bool silent = false;               // sends nothing at all
    bool echo = true;                  // echoes every received character
    bool answer = true;                // answers commands (false: echo only)
    bool lowerCaseAnswers = false;     // "nop", "qt2416"
    Micros echoDelay = ms(1);
    Micros answerDelay = ms(20);       // after the carriage return
};

// The projector as a pure state machine: bytes in at a time, bytes out at
// later times. It knows the command interpreter the tool relies on.
class ProjectorModel {
public:
    explicit ProjectorModel(ProjectorOptions options = {});

    std::vector<Emission> receive(Micros at, std::string_view bytes);

    ProjectorOptions& options() { return options_; }
    // Commands the interpreter has taken, in order (without their CR).
    const std::vector<std::string>& commands() const { return commands_; }

private:
    void interpret(Micros at, const std::string& line, std::vector<Emission>& out);
    std::string answerText(std::string text) const;

    ProjectorOptions options_;
    std::string line_;
    std::vector<std::string> commands_;
};

} // namespace fw::sim
