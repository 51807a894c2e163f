#include "link/TranscriptPort.h"

#include <cstdio>

#include "ground/Numbers.h"

namespace fw {

namespace {

// Seconds since the port was set up, to the millisecond, right-aligned.
constexpr int kStampDecimals = 3;
constexpr std::size_t kStampWidth = 10;

} // namespace

TranscriptPort::TranscriptPort(SerialPort& inner, const EventLoop& clock, Sink sink)
    : inner_(inner), clock_(clock), sink_(std::move(sink)), start_(clock.tickCount())
{
}

std::string TranscriptPort::escape(std::string_view bytes)
{
    std::string text;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '<') {
            text += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02X>", c);
            text += hex;
        }
    }
    return text;
}

void TranscriptPort::record(const char* direction, std::string_view bytes)
{
    const uint32_t elapsed = clock_.tickCount() - start_;
    sink_(fixedDecimal(elapsed / 1000.0, kStampDecimals, kStampWidth) + ' ' + direction + ' ' + escape(bytes));
}

void TranscriptPort::setPortOpen(bool open)
{
    inner_.setPortOpen(open);
    record("==", open ? "open" : "close");
}

void TranscriptPort::output(std::string_view bytes)
{
    inner_.output(bytes);
    if (!bytes.empty()) record(">>", bytes);
}

std::string TranscriptPort::input()
{
    std::string bytes = inner_.input();
    if (!bytes.empty()) record("<<", bytes);
    return bytes;
}

} // namespace fw
