// The terminal every projector's thread prints to: a stream that stops
// taking text holds up nobody but the console's own writer, not a
// projector's transfer.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <sstream>
#include <streambuf>

#include "Console.h"
#include "ConsolePrinter.h"
#include "JobRig.h"

using namespace fw;
using namespace fw::testing;

namespace {

// A stream buffer that takes nothing until it is let go, as a terminal
// scrolled back or a pipe nobody reads.
class StoppedStream : public std::streambuf {
public:
    void letGo()
    {
        {
            std::lock_guard lock(mutex_);
            stopped_ = false;
        }
        wake_.notify_all();
    }
    std::string text()
    {
        std::lock_guard lock(mutex_);
        return text_;
    }

protected:
    int_type overflow(int_type c) override
    {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return !stopped_; });
        if (c != traits_type::eof()) text_ += static_cast<char>(c);
        return c;
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopped_ = true;
    std::string text_;
};

constexpr auto kBound = std::chrono::seconds(30);

} // namespace

// Two projectors upgrade side by side, each on its own thread and clock,
// printing to one console whose stream takes nothing: both transfers go
// through to the end while it stays stopped.
TEST(Console, OneProjectorsOutputNeverHoldsUpAnothersTransfer)
{
    StoppedStream stopped;
    std::ostream out(&stopped);
    cli::Console console(out, false);
    JobRig first, second;
    bool bothFlashed = false;
    {
        auto upgrade = [&console](JobRig& r, const char* prefix) {
            cli::ConsolePrinter printer(console, prefix, r.loop, true);
            r.job.events().add(printer);
            r.question.answers = {true};
            r.run(JobKind::Upgrade);
            r.job.events().remove(printer);
        };
        auto one = std::async(std::launch::async, upgrade, std::ref(first), "[COM1] ");
        auto two = std::async(std::launch::async, upgrade, std::ref(second), "[COM2] ");
        // On the virtual clock both take well under a second; a job stuck on
        // the console would never end, so the stream is let go after a bound
        // and the test fails instead of hanging.
        const bool ended = one.wait_for(kBound) == std::future_status::ready &&
                           two.wait_for(kBound) == std::future_status::ready;
        EXPECT_TRUE(ended) << "a job waited for the console";
        if (!ended) stopped.letGo();
        one.get();
        two.get();
        bothFlashed = first.upImageFlashed() && first.scalerImageFlashed() && second.upImageFlashed() &&
                      second.scalerImageFlashed();
    }
    EXPECT_TRUE(bothFlashed);
    EXPECT_EQ(stopped.text(), "");  // still nothing written: the jobs never waited for it
    stopped.letGo();
    console.flush();
    const std::string text = stopped.text();
    EXPECT_NE(text.find(std::string("[COM1] ") + texts::DownloadComplete), std::string::npos);
    EXPECT_NE(text.find(std::string("[COM2] ") + texts::DownloadComplete), std::string::npos);
}

TEST(Console, TheQuestionIsAskedOnceEverythingBeforeItIsOutAndTakesYesOnly)
{
    const std::pair<const char*, bool> answers[] = {{"y\n", true}, {"Yes\n", true}, {"n\n", false}, {"", false}};
    for (const auto& [typed, yes] : answers) {
        std::ostringstream out;
        std::istringstream in(typed);
        cli::Console console(out, false);
        console.line("[COM1] Package valid");
        EXPECT_EQ(console.ask("Continue?", in), yes) << typed;
        console.flush();
        EXPECT_EQ(out.str().rfind("[COM1] Package valid\nContinue? [y/N] ", 0), 0u) << out.str();
    }
}
