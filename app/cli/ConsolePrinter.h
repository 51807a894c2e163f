#pragma once

#include <cstdint>
#include <string>

#include "Console.h"
#include "ground/EventLoop.h"
#include "ground/Events.h"

namespace fw::cli {

// What happens, as lines for a person at a terminal, each with the
// projector's prefix: the window's messages and progress texts, the uP
// image's bytes as they go out, the ISP tool's run and its time.
class ConsolePrinter final : public EventSink {
public:
    ConsolePrinter(Console& console, std::string prefix, const EventLoop& clock, bool assumeYes);
    void tell(const Event& event) override;

private:
    void say(const std::string& text);
    void message(const MessageShown& shown);
    void package(const PackageChecked& checked);
    void progress(const ImageProgress& sent);
    std::string progressText(const ImageProgress& sent, double percent) const;

    Console& console_;
    std::string prefix_;
    const EventLoop& clock_;
    bool assumeYes_;
    bool transferStarted_ = false;
    uint32_t transferStart_ = 0;
    int lastPlainStep_ = -1;
    uint32_t lastPlainLineAt_ = 0;
    std::string ispTimeLimit_;
};

// The same as JSON lines (docs/events.md), each stamped with the time, the
// projector's port and its label in the venue file, if it has one.
class JsonPrinter final : public EventSink {
public:
    JsonPrinter(Console& console, int port, std::string label = {})
        : console_(console), port_(port), label_(std::move(label))
    {
    }
    void tell(const Event& event) override;

private:
    Console& console_;
    int port_;
    std::string label_;
};

} // namespace fw::cli
