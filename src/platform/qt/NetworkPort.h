#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTcpSocket>
#include <deque>
#include <functional>

#include "ground/NetworkAddress.h"
#include "ground/SerialPort.h"
#include "net/ComPortClient.h"
#include "net/LineDrain.h"
#include "net/ServerFaults.h"
#include "net/TelnetStream.h"
#include "qt/NetworkPorts.h"
#include "qt/PortDevice.h"

namespace fw::qt {

// fw::SerialPort over a TCP connection to a serial server: rfc2217://host:port
// sets the server's line to 38400 8N1 with RFC 2217 and checks its answers;
// socket://host:port is a raw gateway whose line is set on the gateway.
//
// A serial port's driver holds a few kilobytes at most; a connection holds
// far more. So output() keeps the program close to the line: over RFC 2217
// it asks the server for its rate after the data and waits until the server
// has read all but a few kilobytes (the answer comes after what was sent
// before the question); a raw gateway is paced by the line time of what was
// sent. outputPending() counts what the server may still hold for the line.
class NetworkPort final : public QObject, public RateSettablePort {
    Q_OBJECT

public:
    explicit NetworkPort(PortDeviceOf deviceOf, QObject* parent = nullptr);
    ~NetworkPort() override;

    bool portOpen() const override { return open_; }
    void setPortOpen(bool open) override;
    int16_t commPort() const override { return number_; }
    void setCommPort(int16_t number) override;
    fw::InputMode inputMode() const override { return mode_; }
    void setInputMode(fw::InputMode mode) override { mode_ = mode; }
    void output(std::string_view bytes) override;
    std::size_t outputPending() override;
    std::string input() override;
    std::size_t inputWaiting() override;
    void discardInput() override;
    bool dtrEnable() const override { return dtr_; }
    void setDtrEnable(bool level) override;
    void setEventHandler(EventHandler handler) override { handler_ = std::move(handler); }
    std::string failureDetail() const override { return failure_; }

    // The line at another rate, 8N1, for as long as the ISP tool needs it.
    // A raw gateway's line is its own: the port only paces itself to it.
    void setLineRate(uint32_t bitsPerSecond) override;
    void setPacedToLine(bool paced) override { paced_ = paced; }

private:
    void open();
    void close();
    void awaitServerLettingGo();
    void connectToServer();
    void setUpLine(uint32_t bitsPerSecond);
    void tuneSocket();
    bool rfc2217() const { return address_.scheme == fw::NetworkScheme::Rfc2217; }

    void send(const std::string& bytes);
    void waitUntilTaken(std::size_t bytes);
    void keepCloseToLine();
    void askForReadProgress();
    // Written and not yet read by the server as far as it told; a raw gateway tells nothing.
    std::size_t unread() const { return rfc2217() ? static_cast<std::size_t>(written_ - read_) : 0; }
    void takeArrived();
    void takeReadProgress();
    void waitUntil(const std::function<bool()>& done, int limitMs, fw::platform::ServerFault fault);
    void checkUsable();
    [[noreturn]] void fail(int code, std::string detail);
    [[noreturn]] void fail(fw::platform::ServerFault fault, int seconds = 0);
    uint64_t nowUs() const { return static_cast<uint64_t>(clock_.nsecsElapsed() / 1000); }

    void onReadyRead();
    void onConnectionEnded();
    void raiseReceived();

    QTcpSocket socket_;
    QElapsedTimer clock_;
    PortDeviceOf deviceOf_;
    EventHandler handler_;
    fw::NetworkAddress address_;
    fw::platform::telnet::Decoder decoder_;
    fw::platform::ComPortClient client_;
    fw::platform::LineDrain line_;
    std::string received_;
    std::string failure_;
    std::deque<uint64_t> questions_;  // data written before each unanswered rate question
    uint64_t written_ = 0;            // data bytes handed to the connection since the open
    uint64_t read_ = 0;               // of them, read by the server as its answers tell
    uint64_t answersTaken_ = 0;
    int16_t number_ = 1;
    fw::InputMode mode_ = fw::InputMode::Text;
    bool open_ = false;
    bool paced_ = true;
    bool dtr_ = false;
    bool ended_ = false;            // the connection ended under the open port
    int depth_ = 0;                 // inside one of the port's own waits
    bool receivePending_ = false;   // a receive event is queued for the event loop
};

} // namespace fw::qt
