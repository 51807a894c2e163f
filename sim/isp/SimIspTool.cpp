#include "SimIspTool.h"

#include <algorithm>

#include "IspToolRun.h"
#include "ground/LineTiming.h"
#include "ground/SettingsFile.h"

namespace fw::sim::isp {

namespace {

constexpr Micros kStartUp = ms(50);      // the tool loads before it does anything
constexpr Micros kPortSettle = ms(100);  // quiet line after opening, as the executable does
constexpr const char* kLineStamp = "12:00:01 ";  // what a tool that stamps its log lines puts first

} // namespace

// One run of the tool, alive as long as an event of it is scheduled.
struct SimIspTool::Session : std::enable_shared_from_this<SimIspTool::Session> {
    Session(VirtualEventLoop& loop, ProjectorModel& projector, SimSerialPort& hostPort, const ProcessLaunch& launch,
            const IspSwitches& switches, bool failThisRun)
        : loop(loop), projector(projector), hostPort(hostPort),
          run(launch.arguments, launch.workingDirectory, failThisRun, switches.crash), switches(switches),
          logPath(launch.workingDirectory + "/" + kLogFile), startedAt(launch.at)
    {
    }

    void open(int16_t projectorPort)
    {
        const int number = run.portNumber();
        const std::string device = "simulated " + portName(number);
        if (number != projectorPort) return fail(device, "no such port");
        if (hostPort.portOpen() && hostPort.commPort() == number) return fail(device, "in use by another program");
        hostPort.setAvailability(static_cast<int16_t>(number), PortAvailability::HeldByOther);
        heldPort = static_cast<int16_t>(number);
        run.portOpened(device);
        auto self = shared_from_this();
        loop.scheduleAfter(kPortSettle, [self] { self->send(self->run.client().start()); });
    }

    void fail(const std::string& device, const std::string& reason)
    {
        run.portFailed(device, reason);
        finish();
    }

    void send(const std::string& bytes)
    {
        if (bytes.empty() || ended) return;
        const Micros start = std::max(loop.now(), txFree);
        const Micros done = start + lineTimeUs(bytes.size(), run.baud());
        txFree = done;
        for (Emission& e : projector.receive(done, bytes)) {
            const Micros arrival = std::max(e.at, rxFree) + lineTimeUs(e.bytes.size(), run.baud());
            rxFree = arrival;
            loop.schedule(arrival, [self = shared_from_this(), bytes = std::move(e.bytes)] { self->received(bytes); });
        }
        const uint64_t timer = ++timerGeneration;
        loop.schedule(done + ms(run.client().replyTimeoutMs()), [self = shared_from_this(), timer] {
            if (timer == self->timerGeneration) self->timedOut();
        });
    }

    void received(const std::string& bytes)
    {
        if (ended) return;
        for (char byte : bytes) {
            if (!run.running()) return;
            send(run.client().received(byte));
            if (!run.running()) finish();
        }
    }

    void timedOut()
    {
        if (ended || !run.running()) return;
        send(run.client().timedOut());
        if (!run.running()) finish();
    }

    // The log is written, and the port let go, when the process ends.
    void finish()
    {
        ++timerGeneration;
        if (switches.hang) return;  // holds the port until it is stopped
        const Micros endsAt = std::max(loop.now(), startedAt + ms(switches.runAtLeastMs));
        loop.schedule(endsAt, [self = shared_from_this()] { self->end(); });
    }

    // Stopped from outside, with the child it left: the port is let go, no
    // log is written any more.
    void kill()
    {
        ++timerGeneration;
        lateLogCancelled = true;
        if (!ended) endedAt = loop.now();
        ended = true;
        letPortGo();
    }

    void letPortGo()
    {
        if (heldPort) hostPort.setAvailability(*heldPort, PortAvailability::Projector);
        heldPort.reset();
    }

    void end()
    {
        if (ended) return;
        letPortGo();
        ended = true;
        endedAt = loop.now();
        if (switches.writeNoLog) return;
        if (switches.logLateMs == 0) {
            writeTextFile(logPath, logText());
            return;
        }
        lateLogPending = true;
        loop.scheduleAfter(ms(switches.logLateMs), [self = shared_from_this()] {
            self->lateLogPending = false;
            if (!self->lateLogCancelled) writeTextFile(self->logPath, self->logText());
        });
    }

    std::string logText() const
    {
        const std::string text = run.logText();
        if (!switches.stampLines) return text;
        std::string stamped;
        std::size_t begin = 0;
        while (begin < text.size()) {
            const std::size_t next = std::min(text.find('\n', begin), text.size() - 1) + 1;
            stamped += kLineStamp + text.substr(begin, next - begin);
            begin = next;
        }
        return stamped;
    }

    VirtualEventLoop& loop;
    ProjectorModel& projector;
    SimSerialPort& hostPort;
    IspToolRun run;
    IspSwitches switches;
    std::string logPath;
    Micros startedAt;
    Micros txFree = 0;
    Micros rxFree = 0;
    uint64_t timerGeneration = 0;
    std::optional<int16_t> heldPort;
    bool ended = false;
    bool lateLogPending = false;
    bool lateLogCancelled = false;
    Micros endedAt = 0;
};

SimIspTool::SimIspTool(VirtualEventLoop& loop, ProjectorModel& projector, SimSerialPort& hostPort,
                       IspSwitches switches, int16_t projectorPort)
    : loop_(loop), projector_(projector), hostPort_(hostPort), switches_(switches), projectorPort_(projectorPort)
{
}

void SimIspTool::installAs(SimProcessRunner& runner, const std::string& programPath)
{
    runner.install(programPath, [this](const ProcessLaunch& launch) { return this->launch(launch); });
}

SimRun SimIspTool::launch(const ProcessLaunch& launch)
{
    ++runs_;
    const bool failThisRun = switches_.fail == IspSwitches::Failing::Always ||
                             (switches_.fail == IspSwitches::Failing::Once && runs_ == 1);
    auto session = std::make_shared<Session>(loop_, projector_, hostPort_, launch, switches_, failThisRun);
    loop_.scheduleAfter(kStartUp, [session, port = projectorPort_] {
        if (session->ended) return;
        if (session->run.ready()) session->open(port);
        else session->finish();
    });
    last_ = session;
    sessions_.push_back(session);
    return SimRun([session] { return session->ended; }, [session] { session->kill(); });
}

bool SimIspTool::leftSomethingRunning() const
{
    for (const auto& weak : sessions_) {
        const auto session = weak.lock();
        if (session && (!session->ended || (session->lateLogPending && !session->lateLogCancelled))) return true;
    }
    return false;
}

std::optional<Micros> SimIspTool::lastEndedAt() const
{
    if (!last_ || !last_->ended) return std::nullopt;
    return last_->endedAt;
}

} // namespace fw::sim::isp
