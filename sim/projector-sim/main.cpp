// projector-sim: the projector model behind a pseudo-terminal, for the demo
// and the end-to-end tests. The first line of its output is the device path.

#include <atomic>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <unistd.h>

#include "PtyProjector.h"
#include "SimOptions.h"

namespace {

std::atomic<bool> stopRequested{false};

void requestStop(int) { stopRequested = true; }

} // namespace

int main(int argc, char* argv[])
{
    const auto parsed = fw::sim::parseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.help) {
        std::cout << fw::sim::kSimUsage;
        return 0;
    }
    if (!parsed.options) {
        std::cerr << "projector-sim: " << parsed.error << '\n';
        return 2;
    }
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, requestStop);

    fw::sim::PtyProjector projector(*parsed.options);
    const std::string& link = parsed.options->linkPath;
    if (!link.empty()) {
        unlink(link.c_str());
        if (symlink(projector.devicePath().c_str(), link.c_str()) != 0) {
            std::cerr << "projector-sim: cannot make the link " << link << '\n';
            return 1;
        }
    }
    std::cout << projector.devicePath() << std::endl;
    projector.run(stopRequested);
    if (!link.empty()) unlink(link.c_str());
    std::cout << projector.report() << std::flush;
    return 0;
}
