// From which added delay the link test ("ky nop") and the start of the
// download ("op dlmy" up to the loader's request for the file) fail, on the
// virtual clock against the projector model: through a network port that
// adds the delay each way, and through a local port whose driver tells of
// received bytes that much late. Prints one line a case:
//   network delay each way: link test fails from 1905 ms, download start fails from 1905 ms
// ("none up to N ms" when nothing failed in the range scanned).

#include <cstdio>
#include <functional>

#include "SimRig.h"
#include "link/TestLink.h"
#include "transfer/DownloadProtocol.h"

namespace {

using fw::sim::Micros;

constexpr Micros kStepUs = 5000;
constexpr Micros kLongestUs = 3000000;
constexpr uint64_t kImageBytes = 262144;

using Fault = std::function<void(fw::sim::SimSerialPort&, Micros)>;
using Step = std::function<bool(fw::Link&)>;

bool passes(const Fault& fault, Micros delay, const Step& step)
{
    fw::sim::SimRig rig;
    fault(rig.port, delay);
    rig.port.setPortOpen(true);
    return step(rig.tool.link);
}

bool linkTest(fw::Link& link) { return fw::TestLink(link).ok(); }

bool downloadStart(fw::Link& link)
{
    return fw::enterDownloadMode(link).mode == fw::DownloadMode::Entered && fw::announceLength(link, kImageBytes);
}

std::string firstFailure(const Fault& fault, const Step& step)
{
    for (Micros delay = 0; delay <= kLongestUs; delay += kStepUs)
        if (!passes(fault, delay, step)) return "fails from " + std::to_string(delay / 1000) + " ms";
    return "none up to " + std::to_string(kLongestUs / 1000) + " ms";
}

} // namespace

int main()
{
    const struct {
        const char* name;
        Fault fault;
    } cases[] = {
        {"network delay each way", [](fw::sim::SimSerialPort& p, Micros d) { p.setNetworkDelay(d); }},
        {"local port, receive events late by", [](fw::sim::SimSerialPort& p, Micros d) { p.setReceiveEventDelay(d); }},
    };
    for (const auto& c : cases)
        std::printf("%s: link test %s, download start %s\n", c.name, firstFailure(c.fault, linkTest).c_str(),
                    firstFailure(c.fault, downloadStart).c_str());
    return 0;
}
