#include "qt/NetworkPort.h"

#include <QMetaObject>
#include <algorithm>
#include <utility>

#include "ground/LineTiming.h"
#include "ground/PortError.h"
#include "ground/Texts.h"
#include "qt/SocketTuning.h"

namespace fw::qt {

namespace {

using fw::platform::ServerFault;

constexpr uint32_t kLineRate = fw::kLineBitsPerSecond;
constexpr int kConnectLimitMs = 5000;
constexpr int kAnswerLimitMs = 5000;   // for the line settings, and for the server to read on
constexpr int kCloseLimitMs = 2000;    // for what is still queued to leave, and the server to let go
constexpr int kWaitSliceMs = 10;
// Over RFC 2217 the server is asked how far it has read after every
// kilobyte, and the program waits while more than a few kilobytes are
// unread (two of the ISP tool's frames, so a frame never waits for the
// network's round trip), so it stays about as close to the line as it is on
// a serial port.
constexpr uint64_t kQuestionSpacingBytes = 1024;
constexpr std::size_t kServerWindowBytes = 8192;
// What a server may hold once it has read: ser2net's buffer and a UART
// driver's 4 KB transmit buffer (an industrial serial server holds about
// 1 KB), and a tenth of a second on top before the line counts as drained.
constexpr std::size_t kServerHoldBytes = 5120;
constexpr uint64_t kDrainMarginUs = 100000;
// A raw gateway is fed at most this far ahead of the line's own pace: two
// of the ISP tool's frames, so none is cut in two by a pause of the program's.
constexpr std::size_t kRawAheadBytes = 8192;

int lineTimeMs(std::size_t bytes) { return static_cast<int>(fw::lineTimeMs(bytes)); }

// Set while the port waits inside one of its own calls.
class Inside {
public:
    explicit Inside(int& depth) : depth_(depth) { ++depth_; }
    ~Inside() { --depth_; }
    Inside(const Inside&) = delete;
    Inside& operator=(const Inside&) = delete;

private:
    int& depth_;
};

std::string_view viewOf(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace

NetworkPort::NetworkPort(PortDeviceOf deviceOf, QObject* parent)
    : QObject(parent), socket_(this), deviceOf_(std::move(deviceOf)), line_(kLineRate)
{
    clock_.start();
    connect(&socket_, &QTcpSocket::readyRead, this, &NetworkPort::onReadyRead);
    connect(&socket_, &QTcpSocket::disconnected, this, &NetworkPort::onConnectionEnded);
}

NetworkPort::~NetworkPort() { close(); }

void NetworkPort::setPortOpen(bool open)
{
    if (open)
        this->open();
    else
        close();
}

void NetworkPort::setCommPort(int16_t number)
{
    if (number < 1) throw PortError(kInvalidPort);
    if (open_) throw PortError(kPortAlreadyOpen);
    number_ = number;
}

void NetworkPort::open()
{
    if (open_) throw PortError(kPortAlreadyOpen);
    const std::string name = deviceOf_ ? deviceOf_(number_) : std::string();
    const auto address = fw::parseNetworkAddress(name);
    if (!address) fail(kInvalidPort, name + texts::NotANetworkPort);
    address_ = *address;
    decoder_ = {};
    client_ = {};
    line_ = fw::platform::LineDrain(kLineRate, rfc2217() ? kServerHoldBytes : SIZE_MAX);
    received_.clear();
    failure_.clear();
    questions_.clear();
    written_ = read_ = answersTaken_ = 0;
    ended_ = false;
    connectToServer();
    tuneSocket();
    if (rfc2217()) setUpLine(kLineRate);
    open_ = true;
}

void NetworkPort::connectToServer()
{
    const Inside inside(depth_);
    socket_.connectToHost(QString::fromStdString(address_.host), address_.port);
    if (socket_.waitForConnected(kConnectLimitMs)) return;
    switch (socket_.error()) {
    case QAbstractSocket::HostNotFoundError: fail(ServerFault::NotFound);
    case QAbstractSocket::SocketTimeoutError: fail(ServerFault::Silent, kConnectLimitMs / 1000);
    default: fail(ServerFault::Refused);
    }
}

void NetworkPort::tuneSocket()
{
    // Each command character goes out at once, and a server that vanished
    // without a word is found out while the program waits for an answer.
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket_.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    tuneKeepAlive(socket_.socketDescriptor());
}

void NetworkPort::setUpLine(uint32_t bitsPerSecond)
{
    send(client_.greeting());
    waitUntil([this] { return client_.agreed() || client_.declined(); }, kAnswerLimitMs, ServerFault::Silent);
    send(client_.setLine(bitsPerSecond, dtr_));
    waitUntil([this] { return client_.lineAnswered(); }, kAnswerLimitMs, ServerFault::Silent);
    answersTaken_ = client_.rateAnswers();
}

void NetworkPort::setLineRate(uint32_t bitsPerSecond)
{
    if (!open_) throw PortError(kPortNotOpen);
    if (!rfc2217()) {
        // A raw gateway's line is set on the gateway: it is taken to run at the rate asked for.
        line_ = fw::platform::LineDrain(bitsPerSecond);
        return;
    }
    // Every question is answered first, so no answer to the new settings is taken for one.
    waitUntil([this] { return questions_.empty(); }, kAnswerLimitMs + 2 * lineTimeMs(unread()),
              ServerFault::StoppedTaking);
    send(client_.setLine(bitsPerSecond, dtr_));
    waitUntil([this] { return client_.lineAnswered(); }, kAnswerLimitMs, ServerFault::Silent);
    answersTaken_ = client_.rateAnswers();
}

void NetworkPort::close()
{
    receivePending_ = false;
    open_ = false;
    if (socket_.state() == QAbstractSocket::ConnectedState) awaitServerLettingGo();
    socket_.abort();
    received_.clear();
}

// What is queued leaves, the server is told the program is done, and the
// program waits until the server ends its side too: a server that takes one
// connection a line (ser2net) turns away the next open until it has let go.
void NetworkPort::awaitServerLettingGo()
{
    const Inside inside(depth_);
    QElapsedTimer waited;
    waited.start();
    while (socket_.bytesToWrite() > 0 && socket_.waitForBytesWritten(kCloseLimitMs)) {
    }
    shutDownSending(socket_.socketDescriptor());
    while (socket_.state() == QAbstractSocket::ConnectedState && waited.elapsed() < kCloseLimitMs) {
        socket_.waitForReadyRead(kWaitSliceMs);
        socket_.readAll();
    }
}

void NetworkPort::send(const std::string& bytes)
{
    const auto size = static_cast<qint64>(bytes.size());
    if (socket_.write(bytes.data(), size) != size) fail(ServerFault::Lost);
    socket_.flush();
}

void NetworkPort::output(std::string_view bytes)
{
    if (!open_) throw PortError(kPortNotOpen);
    checkUsable();
    if (bytes.empty()) return;
    const Inside inside(depth_);
    send(rfc2217() ? fw::platform::telnet::escapeData(bytes) : std::string(bytes));
    waitUntilTaken(bytes.size());
    written_ += bytes.size();
    if (!rfc2217()) line_.add(bytes.size(), nowUs());
    if (paced_) keepCloseToLine();
}

void NetworkPort::waitUntilTaken(std::size_t bytes)
{
    waitUntil([this] { return socket_.bytesToWrite() == 0; }, fw::writeTimeoutMs(bytes), ServerFault::StoppedTaking);
}

void NetworkPort::keepCloseToLine()
{
    if (!rfc2217()) {
        const int limit = lineTimeMs(line_.pending(nowUs())) + fw::kWriteMarginMs;
        waitUntil([this] { return line_.pending(nowUs()) <= kRawAheadBytes; }, limit, ServerFault::StoppedTaking);
        return;
    }
    if (questions_.empty() || written_ - questions_.back() >= kQuestionSpacingBytes) askForReadProgress();
    waitUntil([this] { return unread() <= kServerWindowBytes; }, kAnswerLimitMs + 2 * lineTimeMs(unread()),
              ServerFault::StoppedTaking);
}

void NetworkPort::askForReadProgress()
{
    questions_.push_back(written_);
    send(client_.queryRate());
}

std::size_t NetworkPort::outputPending()
{
    if (!open_) throw PortError(kPortNotOpen);
    takeArrived();
    checkUsable();
    if (rfc2217() && unread() > 0 && (questions_.empty() || questions_.back() < written_)) askForReadProgress();
    const uint64_t now = nowUs();
    const uint64_t marginAgo = now > kDrainMarginUs ? now - kDrainMarginUs : 0;
    return static_cast<std::size_t>(socket_.bytesToWrite()) + unread() + line_.pending(marginAgo);
}

std::string NetworkPort::input()
{
    if (!open_) throw PortError(kPortNotOpen);
    takeArrived();
    return std::exchange(received_, {});
}

std::size_t NetworkPort::inputWaiting()
{
    if (!open_) throw PortError(kPortNotOpen);
    takeArrived();
    return received_.size();
}

void NetworkPort::discardInput()
{
    if (!open_) throw PortError(kPortNotOpen);
    takeArrived();
    checkUsable();
    received_.clear();
    // What the server has read from the line and not sent yet goes too;
    // what is already on its way arrives after this.
    if (rfc2217()) send(client_.purgeReceived());
}

void NetworkPort::setDtrEnable(bool level)
{
    dtr_ = level;
    if (!open_ || !rfc2217() || ended_) return;
    const std::string command = client_.setDtr(level);
    socket_.write(command.data(), static_cast<qint64>(command.size()));
    socket_.flush();
}

void NetworkPort::takeArrived()
{
    const QByteArray bytes = socket_.readAll();
    if (bytes.isEmpty()) return;
    std::string data;
    if (rfc2217()) {
        std::vector<fw::platform::telnet::Command> commands;
        decoder_.feed(viewOf(bytes), data, commands);
        std::string reply;
        for (const auto& command : commands) reply += client_.take(command);
        if (!reply.empty()) socket_.write(reply.data(), static_cast<qint64>(reply.size()));
        takeReadProgress();
    } else {
        data.assign(viewOf(bytes));
    }
    if (data.empty()) return;
    received_ += data;
    // The logic meets received text only when it yields: the event is
    // raised from the event loop, never from inside a call of the port.
    if (!receivePending_) {
        receivePending_ = true;
        QMetaObject::invokeMethod(this, &NetworkPort::raiseReceived, Qt::QueuedConnection);
    }
}

void NetworkPort::takeReadProgress()
{
    for (; answersTaken_ < client_.rateAnswers(); ++answersTaken_) {
        if (questions_.empty()) continue;  // the answer to a setting, asked for by no question
        const uint64_t upTo = questions_.front();
        questions_.pop_front();
        line_.add(static_cast<std::size_t>(upTo - read_), nowUs());
        read_ = upTo;
    }
}

void NetworkPort::waitUntil(const std::function<bool()>& done, int limitMs, ServerFault fault)
{
    const Inside inside(depth_);
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        takeArrived();
        checkUsable();
        if (done()) return;
        const qint64 left = limitMs - waited.elapsed();
        if (left <= 0) fail(fault, limitMs / 1000);
        const int slice = static_cast<int>(std::min<qint64>(left, kWaitSliceMs));
        if (socket_.bytesToWrite() > 0) socket_.waitForBytesWritten(slice);
        else socket_.waitForReadyRead(slice);
    }
}

void NetworkPort::checkUsable()
{
    const std::string server = address_.hostAndPort();
    if (const auto& refusal = client_.refusal()) fail(kPortDeviceFailure, fw::platform::lineRefusalText(*refusal, server));
    if (client_.declined()) fail(ServerFault::NoLineControl);
    if (ended_ || socket_.state() != QAbstractSocket::ConnectedState) fail(ServerFault::Lost);
}

void NetworkPort::fail(int code, std::string detail)
{
    failure_ = std::move(detail);
    if (!open_) socket_.abort();
    throw PortError(code);
}

void NetworkPort::fail(ServerFault fault, int seconds)
{
    fail(kPortDeviceFailure, fw::platform::serverFaultText(fault, address_.hostAndPort(), seconds));
}

void NetworkPort::onReadyRead()
{
    if (depth_ == 0) takeArrived();  // inside a wait the wait takes it
}

void NetworkPort::onConnectionEnded() { ended_ = true; }

void NetworkPort::raiseReceived()
{
    receivePending_ = false;
    if (!open_) return;
    if (depth_ == 0) takeArrived();
    if (!received_.empty() && handler_) handler_(fw::CommEvent::Received);
}

} // namespace fw::qt
