#include "Console.h"

#include <istream>
#include <ostream>

namespace fw::cli {

namespace {
constexpr const char* kClearLine = "\r\033[K";
} // namespace

Console::Console(std::ostream& out, bool isTerminal) : out_(out), terminal_(isTerminal), writer_([this] { writeAll(); })
{
}

Console::~Console()
{
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    given_.notify_all();
    writer_.join();
}

void Console::line(const std::string& text)
{
    {
        std::lock_guard lock(mutex_);
        pending_.push_back({Kind::Line, text});
    }
    given_.notify_one();
}

void Console::status(const std::string& text)
{
    if (!terminal_) return;
    {
        std::lock_guard lock(mutex_);
        if (!pending_.empty() && pending_.back().kind == Kind::Status) pending_.back().text = text;
        else pending_.push_back({Kind::Status, text});
    }
    given_.notify_one();
}

void Console::flush()
{
    std::unique_lock lock(mutex_);
    written_.wait(lock, [this] { return pending_.empty() && !writing_; });
}

bool Console::ask(const std::string& question, std::istream& in)
{
    {
        std::lock_guard lock(mutex_);
        pending_.push_back({Kind::Prompt, question + " [y/N] "});
    }
    given_.notify_one();
    flush();
    // The answer is typed after the question, on its line.
    std::string answer;
    if (!std::getline(in, answer)) {
        line({});  // no answer came: the next line starts on a line of its own
        flush();
        return false;
    }
    return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

void Console::writeAll()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        given_.wait(lock, [this] { return !pending_.empty() || closing_; });
        if (pending_.empty()) return;
        const Item item = std::move(pending_.front());
        pending_.pop_front();
        writing_ = true;
        lock.unlock();
        write(item);
        lock.lock();
        writing_ = false;
        written_.notify_all();
    }
}

void Console::write(const Item& item)
{
    if (item.kind == Kind::Status) {
        out_ << kClearLine << item.text << std::flush;
        statusShown_ = true;
        return;
    }
    if (statusShown_) out_ << kClearLine;
    statusShown_ = false;
    out_ << item.text;
    if (item.kind == Kind::Line) out_ << '\n';
    out_ << std::flush;
}

} // namespace fw::cli
