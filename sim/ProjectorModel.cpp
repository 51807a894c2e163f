#include "ProjectorModel.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace fw::sim {

ProjectorModel::ProjectorModel(ProjectorOptions options) : options_(std::move(options)) {}

std::string ProjectorModel::answerText(std::string text) const
{
    if (options_.lowerCaseAnswers)
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::vector<Emission> ProjectorModel::receive(Micros at, std::string_view bytes)
{
    std::vector<Emission> out;
    std::string echo;
    auto flushEcho = [&] {
        if (options_.echo && !echo.empty()) out.push_back({at + options_.echoDelay, echo});
        echo.clear();
    };
    for (char c : bytes) {
        echo += c;
        if (c == '\r') {
            flushEcho();
            interpret(at, std::exchange(line_, {}), out);
        } else if (c != '\n') {
            line_ += c;
        }
    }
    flushEcho();
    if (options_.silent) out.clear();
    return out;
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
    else out.push_back({when, "\r\n?\r\n"});
}

} // namespace fw::sim
