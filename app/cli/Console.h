#pragma once

#include <condition_variable>
#include <deque>
#include <iosfwd>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace fw::cli {

// The terminal shared by every projector being upgraded: whole lines from
// any thread, and on a terminal one status line redrawn in place. A writer
// of its own puts them on the stream, so no projector's thread ever waits
// for the terminal: a stream that is slow or stopped (a pager, a full pipe,
// a terminal scrolled back) holds up the writer alone.
class Console {
public:
    Console(std::ostream& out, bool isTerminal);
    // Every line given is written before it returns.
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    bool isTerminal() const { return terminal_; }
    void line(const std::string& text);
    // Redraws the status line on a terminal; ignored otherwise. Only the
    // newest not yet drawn is drawn.
    void status(const std::string& text);
    // Asks once every line before it is out, and reads the answer from `in`
    // holding nothing another thread needs; true for an answer beginning
    // with y or Y.
    bool ask(const std::string& question, std::istream& in);
    // Returns once everything given so far is on the stream.
    void flush();

private:
    enum class Kind { Line, Status, Prompt };
    struct Item {
        Kind kind;
        std::string text;
    };
    void writeAll();
    void write(const Item& item);

    std::ostream& out_;
    bool terminal_;
    bool statusShown_ = false;  // the writer's alone
    std::mutex mutex_;
    std::condition_variable given_;
    std::condition_variable written_;
    std::deque<Item> pending_;
    bool writing_ = false;
    bool closing_ = false;
    std::thread writer_;
};

} // namespace fw::cli
