#include "platform/IspToolRunner.h"

namespace fw::platform {

namespace {

// Windows runs the vendor's tool itself.
class DirectRunner final : public ProcessRunner {
public:
    explicit DirectRunner(ProcessRunner& direct) : direct_(direct) {}
    ProcessStart start(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& workingDirectory) override
    {
        return direct_.start(program, arguments, workingDirectory);
    }
    void stopAll() override { direct_.stopAll(); }

private:
    ProcessRunner& direct_;
};

} // namespace

std::unique_ptr<ProcessRunner> ispToolRunner(ProcessRunner& direct, DeviceOfPort)
{
    return std::make_unique<DirectRunner>(direct);
}

} // namespace fw::platform
