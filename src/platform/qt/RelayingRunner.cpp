#include "qt/RelayingRunner.h"

#include <map>

#include "ground/NetworkAddress.h"
#include "ground/Texts.h"
#include "platform/IspToolRunner.h"
#include "qt/PortRelay.h"
#include "transfer/IspCommandLine.h"

namespace fw::qt {

namespace {

// The tool's run, and the relay that lives as long as it.
class RelayedProcess final : public fw::RunningProcess {
public:
    RelayedProcess(std::unique_ptr<fw::RunningProcess> tool, std::unique_ptr<PortRelay> relay)
        : tool_(std::move(tool)), relay_(std::move(relay))
    {
    }
    bool hasEnded() override
    {
        if (!tool_->hasEnded()) return false;
        relay_.reset();
        return true;
    }
    void stop() override
    {
        tool_->stop();
        relay_.reset();
    }
    std::optional<int> exitCode() override { return tool_->exitCode(); }

private:
    std::unique_ptr<fw::RunningProcess> tool_;
    std::unique_ptr<PortRelay> relay_;
};

class RelayingRunner final : public fw::ProcessRunner {
public:
    RelayingRunner(fw::ProcessRunner& direct, PortDeviceOf deviceOf)
        : deviceOf_(std::move(deviceOf)),
          platform_(platform::ispToolRunner(direct, [this](int number) { return deviceOfPort(number); }))
    {
    }

    fw::ProcessStart start(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& workingDirectory) override
    {
        const int port = fw::ispPortOf(arguments);
        if (port <= 0 || !fw::isNetworkPortName(deviceOf_(port)))
            return platform_->start(program, arguments, workingDirectory);
        fw::ProcessStart started;
        std::string failure;
        std::unique_ptr<PortRelay> relay = makePortRelay(deviceOf_, port, failure);
        if (!relay) {
            started.failure = texts::ToolCannotStart + std::string(kIspToolName) + ": " + failure;
            return started;
        }
        relayed_[port] = relay->localDevice();
        started = platform_->start(program, arguments, workingDirectory);
        relayed_.erase(port);  // taken by the start: the tool's COMn, or its environment
        if (started.process) started.process = std::make_unique<RelayedProcess>(std::move(started.process), std::move(relay));
        return started;
    }

    void stopAll() override { platform_->stopAll(); }

private:
    std::string deviceOfPort(int number) const
    {
        const auto it = relayed_.find(number);
        return it != relayed_.end() ? it->second : deviceOf_(number);
    }

    PortDeviceOf deviceOf_;
    std::map<int, std::string> relayed_;
    std::unique_ptr<fw::ProcessRunner> platform_;
};

} // namespace

std::unique_ptr<fw::ProcessRunner> ispToolRunner(fw::ProcessRunner& direct, PortDeviceOf deviceOf)
{
    return std::make_unique<RelayingRunner>(direct, std::move(deviceOf));
}

} // namespace fw::qt
