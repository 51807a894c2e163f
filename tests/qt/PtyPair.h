#pragma once

#include <cstdint>
#include <string>

// A pseudo-terminal: the program opens the slave side by its device name,
// the test plays the far end on the master side.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& slaveName() const { return slaveName_; }

    // The far end sends.
    void send(const std::string& bytes);
    // The far end goes away: the line hangs up.
    void hangUp();
    // Waits, without running any event, until bytes from the far end are
    // waiting for the program; false when none came within `limitMs`.
    bool awaitBytesForProgram(int limitMs);
    // What has arrived at the far end so far, up to `atMost` bytes (does not wait).
    std::string received(std::size_t atMost = SIZE_MAX);

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slaveName_;
};
