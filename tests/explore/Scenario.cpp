#include "Scenario.h"

#include <random>

namespace fw::explore {

namespace {

class Draw {
public:
    explicit Draw(uint64_t seed) : rng_(seed) {}
    bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    uint64_t below(uint64_t n) { return std::uniform_int_distribution<uint64_t>(0, n - 1)(rng_); }

private:
    std::mt19937_64 rng_;
};

constexpr uint64_t kImageBytes = 262144;

void drawProjector(Draw& d, Scenario& s)
{
    auto& p = s.projector;
    auto& l = p.loader;
    l.checksIntegrityTrailer = true;
    auto fault = [&](double chance, const char* name) {
        const bool hit = d.chance(chance);
        if (hit) s.faults.push_back(name);
        return hit;
    };
    if (fault(0.03, "silent")) p.silent = true;
    if (fault(0.03, "no echo")) p.echo = false;
    if (fault(0.03, "echo only")) p.answer = false;
    if (fault(0.03, "lower-case answers")) p.lowerCaseAnswers = true;
    if (fault(0.08, "other model")) {
        const char* models[] = {"QT2436", "QT1952", "QT9999", "2416"};
        p.modelName = models[d.below(4)];
    }
    if (fault(0.04, "upper-case Y")) l.question = "\r\nDownload ('Y'/'N') ? ";
    if (fault(0.04, "40000h")) l.lengthPrompt = "\r\nLength (40000h) : ";
    if (fault(0.04, "FILE")) l.dataRequest = "\r\nsend the FILE\r\n";
    if (fault(0.04, "RIGHT!")) l.verdictRight = "\r\nRIGHT!\r\n";
    if (fault(0.04, "no verdict")) l.verdictRight.clear();
    if (fault(0.04, "no BOOT")) l.restartBanner.clear();
    if (fault(0.04, "no GENNUM")) p.isp.banner.clear();
    if (fault(0.05, "line cut")) p.faults.cutAtImageByte = d.below(kImageBytes + 2);
    if (fault(0.05, "dropped byte")) p.faults.dropImageByte = d.below(kImageBytes);
    if (fault(0.05, "noise byte")) p.faults.noiseBeforeImageByte = d.below(kImageBytes);
    if (fault(0.04, "duplicated byte")) p.faults.duplicateImageByte = d.below(kImageBytes);
    if (fault(0.05, "slow answers")) p.answerDelay = sim::ms(50 + d.below(3000));
}

void drawToolFaults(Draw& d, sim::isp::IspSwitches& isp, std::vector<std::string>& faults, const std::string& tool)
{
    using F = sim::isp::IspSwitches::Failing;
    if (d.chance(0.05)) isp.fail = F::Once, faults.push_back(tool + " fails once");
    else if (d.chance(0.04)) isp.fail = F::Always, faults.push_back(tool + " always fails");
    if (d.chance(0.04)) isp.crash = true, faults.push_back(tool + " crashes");
    if (d.chance(0.04)) isp.writeNoLog = true, faults.push_back(tool + " writes no log");
    if (d.chance(0.05)) {
        isp.runAtLeastMs = static_cast<uint32_t>(1000 + d.below(600000));
        faults.push_back(tool + " runs " + std::to_string(isp.runAtLeastMs) + " ms");
    }
    if (d.chance(0.04)) isp.hang = true, faults.push_back(tool + " hangs");
    if (d.chance(0.04)) {
        isp.logLateMs = static_cast<uint32_t>(1 + d.below(20000));
        faults.push_back(tool + "'s log written " + std::to_string(isp.logLateMs) + " ms after it ended");
    }
}

void drawIspTool(Draw& d, Scenario& s)
{
    drawToolFaults(d, s.isp, s.faults, "ISP tool");
    if (s.isp.hang || s.isp.runAtLeastMs > 0 || d.chance(0.03)) {
        s.ispTimeLimitSeconds = static_cast<int>(d.below(900));  // 0 means the default
        s.faults.push_back("TIMELIMIT=" + std::to_string(*s.ispTimeLimitSeconds));
    }
}

void drawFolder(Draw& d, Scenario& s)
{
    if (d.chance(0.03)) s.oldLogStuck = true, s.faults.push_back("old log cannot be deleted");
    if (d.chance(0.15)) {
        // Mostly while the first projector's scaler phase is likely to run.
        s.secondJobAtMs = d.chance(0.8) ? 60000 + d.below(200000) : d.below(600000);
        s.faults.push_back("second projector's scaler flashed from the folder at " +
                           std::to_string(*s.secondJobAtMs) + " ms");
        // Its tool fails more often than not, so a verdict taken from the
        // wrong log shows.
        if (d.chance(0.5)) s.secondJobIsp.fail = sim::isp::IspSwitches::Failing::Always;
        drawToolFaults(d, s.secondJobIsp, s.faults, "second ISP tool");
        // A first tool that fails slowly leaves the longest time for a log
        // that is not its own.
        if (d.chance(0.4)) {
            s.isp.fail = sim::isp::IspSwitches::Failing::Always;
            s.isp.runAtLeastMs = static_cast<uint32_t>(30000 + d.below(250000));
            s.faults.push_back("ISP tool fails after " + std::to_string(s.isp.runAtLeastMs) + " ms");
        }
    }
}

void drawPort(Draw& d, Scenario& s)
{
    if (d.chance(0.04)) {
        s.deviceFailsAfterBytes = d.below(kImageBytes + 200);
        s.faults.push_back("port vanishes after " + std::to_string(*s.deviceFailsAfterBytes) + " bytes");
    }
    if (d.chance(0.02)) s.portHeldAtStart = true, s.faults.push_back("port held at start");
    if (d.chance(0.03)) {
        s.portHeldFromMs = d.below(200000);
        s.faults.push_back("port taken by another program at " + std::to_string(*s.portHeldFromMs) + " ms");
    }
    if (d.chance(0.06)) {
        s.driverBufferBytes = 1 + d.below(40000);
        s.faults.push_back("adapter holds " + std::to_string(s.driverBufferBytes) + " bytes");
    }
    if (d.chance(0.06)) {
        s.portDialogOkAtMs = d.below(300000);
        s.faults.push_back("port dialog OK at " + std::to_string(*s.portDialogOkAtMs) + " ms");
    }
}

// Drawn after everything else, so that the worlds of earlier seeds stay as
// they were.
void drawReceiveEventLag(Draw& d, Scenario& s)
{
    if (!d.chance(0.08)) return;
    s.receiveEventLagMs = 1 + d.below(150);
    s.faults.push_back("receive event " + std::to_string(s.receiveEventLagMs) + " ms late");
}

// A network port: late both ways, so a discard (a purge) meets data still
// under way, which arrives after it; and a connection that may be lost.
void drawNetwork(Draw& d, Scenario& s)
{
    if (!d.chance(0.08)) return;
    s.networkDelayMs = 1 + d.below(300);
    s.faults.push_back("network port, " + std::to_string(s.networkDelayMs) + " ms each way");
    if (!d.chance(0.3)) return;
    s.deviceFailsAfterBytes = d.below(kImageBytes + 200);
    s.faults.push_back("connection lost after " + std::to_string(*s.deviceFailsAfterBytes) + " bytes");
}

void drawSteps(Draw& d, Scenario& s)
{
    const std::size_t count = 1 + d.below(4);
    for (std::size_t i = 0; i < count; ++i) {
        const uint64_t r = d.below(10);
        s.steps.push_back(r < 2 ? Step::CommunicationTest : r < 4 ? Step::OpenFile : r < 5 ? Step::PortDialog
                                                                                          : Step::Upgrade);
    }
    if (d.chance(0.7)) s.steps.push_back(Step::Upgrade);  // most runs end in an upgrade attempt
}

const char* stepName(Step step)
{
    switch (step) {
    case Step::CommunicationTest: return "test";
    case Step::OpenFile: return "open-file";
    case Step::Upgrade: return "upgrade";
    case Step::PortDialog: return "port-dialog";
    }
    return "?";
}

} // namespace

Scenario drawScenario(uint64_t seed)
{
    Scenario s;
    s.seed = seed;
    Draw d(seed);
    drawProjector(d, s);
    drawIspTool(d, s);
    drawPort(d, s);
    drawFolder(d, s);
    drawSteps(d, s);
    drawReceiveEventLag(d, s);
    drawNetwork(d, s);
    return s;
}

std::string describe(const Scenario& s)
{
    std::string text = "seed " + std::to_string(s.seed) + ": steps";
    for (Step step : s.steps) text += std::string(" ") + stepName(step);
    text += "; faults:";
    if (s.faults.empty()) text += " none";
    for (const auto& f : s.faults) text += " [" + f + "]";
    return text;
}

} // namespace fw::explore
