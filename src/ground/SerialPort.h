#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace fw {

enum class InputMode { Text = 0, Binary = 1 };

// Codes handed to the receive handler.
enum class CommEvent : int {
    OutputThreshold = 1,
    Received = 2,
    DsrChange = 4,
    CdChange = 5,
    Ring = 6,
    EndOfFile = 7,
    OutputQueueFull = 1010,
};

// The serial port as the logic sees it. Fixed line settings: 38400 bit/s,
// 8 data bits, no parity, 1 stop bit. Failing operations throw PortError.
class SerialPort {
public:
    using EventHandler = std::function<void(CommEvent)>;

    virtual ~SerialPort() = default;

    virtual bool portOpen() const = 0;
    // Opens with the current number (throws 8002 or 8005); closing drops
    // waiting input and never throws.
    virtual void setPortOpen(bool open) = 0;

    virtual int16_t commPort() const = 0;
    // Only while the port is closed. Throws 8002 for a number no serial
    // port can have (below 1).
    virtual void setCommPort(int16_t number) = 0;

    virtual InputMode inputMode() const = 0;
    virtual void setInputMode(InputMode mode) = 0;

    // Hands the bytes to the port and returns once the port has taken all of
    // them, so a writer is never more than one write ahead of the line.
    // Throws 8018 on a closed port, 8021 when the device fails.
    virtual void output(std::string_view bytes) = 0;

    // Bytes the port has taken that have not yet left on the line: what the
    // driver and the adapter still hold (8018 when closed).
    virtual std::size_t outputPending() = 0;

    // All waiting received bytes, removed from the input queue (8018 when closed).
    virtual std::string input() = 0;

    // Received bytes waiting to be read, wherever the port holds them (its
    // driver, the adapter's own buffer): what the next receive event will
    // tell of (8018 when closed).
    virtual std::size_t inputWaiting() = 0;

    // Drops all waiting received bytes (8018 when closed).
    virtual void discardInput() = 0;

    virtual bool dtrEnable() const = 0;
    virtual void setDtrEnable(bool level) = 0;

    // The port raises its events on the user-interface thread, from inside
    // the event loop, while the program yields.
    virtual void setEventHandler(EventHandler handler) = 0;

    // What the port can tell the technician of its last failure beyond the
    // code it threw (a network port names its server and what went wrong);
    // empty when it has nothing to add. An open that succeeds clears it.
    virtual std::string failureDetail() const { return {}; }
};

} // namespace fw
