#pragma once

#include <memory>
#include <string>
#include <vector>

#include "IspClient.h"
#include "IspToolOptions.h"

namespace fw::sim::isp {

// One run of the stand-in ISP tool, apart from moving bytes: it reads its
// command line, the driver file and the scaler image from the working
// directory, keeps the log and decides what the run's switches make of it.
// The executable and the in-process stand-in both drive one of these.
class IspToolRun {
public:
    IspToolRun(const std::vector<std::string>& arguments, const std::string& workingDirectory, bool failThisRun,
               bool crashThisRun);

    // The command line and the files were fine; the port may be opened.
    bool ready() const { return !client_ && error_.empty(); }
    int portNumber() const { return line_.port; }
    uint32_t baud() const { return line_.baud; }

    void portOpened(const std::string& device);
    void portFailed(const std::string& device, const std::string& reason);

    // Valid after portOpened.
    IspClient& client() { return *client_; }
    bool running() const { return client_ && !client_->finished(); }

    // After the client finished, or after a failure before it started.
    bool succeeded() const { return error_.empty() && client_ && client_->succeeded(); }
    // A crashing run dies once the client stops, before its result line.
    bool dies() const { return crash_ && client_ && client_->finished(); }
    std::string logText() const;

private:
    std::string resultLine() const;
    void fail(std::string reason) { error_ = std::move(reason); }
    void line(std::string text) { log_.push_back(std::move(text)); }

    IspCommandLine line_;
    std::string workingDirectory_;
    std::string image_;
    bool fail_;
    bool crash_;
    std::vector<std::string> log_;
    std::string error_;
    std::unique_ptr<IspClient> client_;
};

// The log's name in the working directory, and the line a successful run
// ends it with (no line end after it, as the vendor's tool writes it).
inline constexpr const char* kLogFile = "log.txt";
inline constexpr const char* kSuccessLine = "Command: 0503 0000 fafd";

bool writeTextFile(const std::string& path, const std::string& text);

} // namespace fw::sim::isp
