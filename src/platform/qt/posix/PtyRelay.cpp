// The relay on a pseudo-terminal: the program opens its slave side as COMn.
#include "qt/PortRelay.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include "ground/LineTiming.h"
#include "ground/PortError.h"
#include "qt/NetworkPorts.h"

namespace fw::qt {

namespace {

constexpr uint32_t kLineRate = fw::kLineBitsPerSecond;
constexpr int kSettingsWatchMs = 50;  // the program sets its rate before it talks, but may listen first
constexpr std::size_t kReadChunk = 4096;
constexpr int kWriteWaitMs = 1000;    // for room in the line towards a program that stopped reading

struct Rate {
    speed_t code;
    uint32_t bitsPerSecond;
};
constexpr Rate kRates[] = {{B9600, 9600},   {B19200, 19200},   {B38400, 38400},
                           {B57600, 57600}, {B115200, 115200}, {B230400, 230400}};

uint32_t bitsPerSecondOf(speed_t code)
{
    for (const Rate& rate : kRates)
        if (rate.code == code) return rate.bitsPerSecond;
    return 0;
}

class PtyRelay final : public QObject, public PortRelay {
public:
    // Takes the open network port.
    explicit PtyRelay(std::unique_ptr<RateSettablePort> port) : port_(std::move(port))
    {
        // The tool waits for an answer to every frame it sends: its bytes go
        // on at once, and answers are never held up behind a wait for the line.
        port_->setPacedToLine(false);
        port_->setEventHandler([this](fw::CommEvent event) {
            if (event == fw::CommEvent::Received) toProgram();
        });
        connect(&readable_, &QSocketNotifier::activated, this, &PtyRelay::fromProgram);
        connect(&settingsWatch_, &QTimer::timeout, this, &PtyRelay::followProgramRate);
        settingsWatch_.start(kSettingsWatchMs);
    }
    ~PtyRelay() override
    {
        settingsWatch_.stop();
        readable_.setEnabled(false);
        try {
            if (rate_ != kLineRate) port_->setLineRate(kLineRate);
        } catch (const fw::PortError&) {
            // the server is gone; its line is its own again at the next connection
        }
        port_->setPortOpen(false);
        if (master_ >= 0) ::close(master_);
        if (slave_ >= 0) ::close(slave_);
    }

    const std::string& localDevice() const override { return device_; }

    // False when the system gives no pseudo-terminal.
    bool openLine()
    {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) return false;
        device_ = name;
        // Raw at 38400 until the program sets its own: nothing is echoed back
        // to the server before the program opens the line.
        termios raw{};
        ::tcgetattr(slave_, &raw);
        ::cfmakeraw(&raw);
        ::cfsetispeed(&raw, B38400);
        ::cfsetospeed(&raw, B38400);
        ::tcsetattr(slave_, TCSANOW, &raw);
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        ::fcntl(master_, F_SETFD, FD_CLOEXEC);
        ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
        readable_.setSocket(master_);
        readable_.setEnabled(true);
        return true;
    }

private:
    void followProgramRate()
    {
        termios settings{};
        if (::tcgetattr(slave_, &settings) != 0) return;
        const uint32_t rate = bitsPerSecondOf(::cfgetospeed(&settings));
        if (rate == 0 || rate == rate_) return;
        relaying([&] { port_->setLineRate(rate); });
        rate_ = rate;
    }

    void fromProgram()
    {
        followProgramRate();  // the program's bytes go out at the rate it set before it wrote them
        char buffer[kReadChunk];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) relaying([&] { port_->output(std::string_view(buffer, static_cast<std::size_t>(n))); });
    }

    void toProgram()
    {
        std::string bytes;
        relaying([&] { bytes = port_->input(); });
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
                continue;
            }
            pollfd room{master_, POLLOUT, 0};
            if ((n < 0 && errno != EAGAIN && errno != EINTR) || ::poll(&room, 1, kWriteWaitMs) != 1) return;
        }
    }

    // A failed network port ends the relaying: the program then meets a silent line.
    template <typename Step>
    void relaying(Step step)
    {
        try {
            step();
        } catch (const fw::PortError&) {
            settingsWatch_.stop();
            readable_.setEnabled(false);
        }
    }

    std::unique_ptr<RateSettablePort> port_;
    QSocketNotifier readable_{QSocketNotifier::Read};
    QTimer settingsWatch_;
    int master_ = -1;
    int slave_ = -1;
    std::string device_;
    uint32_t rate_ = kLineRate;
};

} // namespace

std::unique_ptr<PortRelay> makePortRelay(PortDeviceOf deviceOf, int number, std::string& failure)
{
    std::unique_ptr<RateSettablePort> port = makeNetworkPort(std::move(deviceOf));
    try {
        port->setCommPort(static_cast<int16_t>(number));
        port->setPortOpen(true);
    } catch (const fw::PortError&) {
        failure = port->failureDetail();
        return nullptr;
    }
    auto relay = std::make_unique<PtyRelay>(std::move(port));
    if (!relay->openLine()) {
        failure = std::strerror(errno);
        return nullptr;
    }
    return relay;
}

} // namespace fw::qt
