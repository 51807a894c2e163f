#pragma once

#include <iosfwd>
#include <mutex>
#include <string>

namespace fw::cli {

// The terminal shared by every projector being upgraded: whole lines from
// any thread, and on a terminal one status line redrawn in place.
class Console {
public:
    Console(std::ostream& out, bool isTerminal);

    bool isTerminal() const { return terminal_; }
    void line(const std::string& text);
    // Redraws the status line on a terminal; ignored otherwise.
    void status(const std::string& text);
    // Asks on the terminal; true for an answer beginning with y or Y.
    bool ask(const std::string& question, std::istream& in);

private:
    void clearStatus();

    std::mutex mutex_;
    std::ostream& out_;
    bool terminal_;
    bool statusShown_ = false;
};

} // namespace fw::cli
