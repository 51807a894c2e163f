#include "Console.h"

#include <istream>
#include <ostream>

namespace fw::cli {

Console::Console(std::ostream& out, bool isTerminal) : out_(out), terminal_(isTerminal) {}

void Console::clearStatus()
{
    if (statusShown_) out_ << "\r\033[K";
    statusShown_ = false;
}

void Console::line(const std::string& text)
{
    std::lock_guard lock(mutex_);
    clearStatus();
    out_ << text << '\n' << std::flush;
}

void Console::status(const std::string& text)
{
    if (!terminal_) return;
    std::lock_guard lock(mutex_);
    out_ << "\r\033[K" << text << std::flush;
    statusShown_ = true;
}

bool Console::ask(const std::string& question, std::istream& in)
{
    std::lock_guard lock(mutex_);
    clearStatus();
    out_ << question << " [y/N] " << std::flush;
    std::string answer;
    if (!std::getline(in, answer)) {
        out_ << '\n';
        return false;
    }
    return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

} // namespace fw::cli
