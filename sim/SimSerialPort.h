#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ProjectorModel.h"
#include "VirtualEventLoop.h"
#include "ground/SerialPort.h"

namespace fw::sim {

enum class PortAvailability {
    Projector,         // the projector model is on this line
    NothingConnected,  // the port opens, but nobody answers
    Missing,           // no such port: opening fails with 8002
    HeldByOther,       // another program holds it: opening fails with 8005
    NotPermitted,      // this user may not open /dev/ttySIMn: 8005, refused for permission
    HeldOrNotPermitted,  // 8005 where the platform cannot tell which
};

enum class Direction { ToProjector, FromProjector };

struct WireRecord {
    Micros at;  // when the first byte went onto the line
    Direction direction;
    std::string bytes;
};

// The host's serial port on the virtual clock, wired to the projector model.
// With pacing on, every byte takes ten bit times at 38400 bit/s each way.
class SimSerialPort : public fw::SerialPort {
public:
    SimSerialPort(VirtualEventLoop& loop, ProjectorModel& projector);

    void setAvailability(int16_t number, PortAvailability availability);
    void setPaced(bool paced) { paced_ = paced; }
    // The driver and adapter hold up to this many bytes: a write returns
    // while that much of it is still on its way down the line.
    void setDriverBuffer(std::size_t bytes) { driverBuffer_ = bytes; }
    // Received bytes wait in the input queue this long before the receive
    // event reports them, as a driver's notification lags the data.
    void setReceiveEventDelay(Micros delay) { receiveEventDelay_ = delay; }
    // A network port: every byte takes this long more each way, between the
    // program and the serial server. What is under way when the program
    // discards its input still arrives afterwards.
    void setNetworkDelay(Micros eachWay) { networkDelay_ = eachWay; }
    // The device fails (8021) once this many bytes have gone out.
    void failDeviceAfterBytes(uint64_t count) { failAfter_ = count; }

    // Bytes the projector puts on the line at `at`, as if it had sent them
    // (noise, stray text); they arrive like any other reply.
    void injectFromProjector(Micros at, std::string bytes);

    const std::vector<WireRecord>& wire() const { return wire_; }
    // Runs as each record is added, so a test can look at the window at a
    // moment of the exchange rather than at a guessed time: inside the
    // host's write for what it sends, inside the receive event for a reply.
    std::function<void(const WireRecord&)> onWire;
    // Everything the host sent, in order.
    std::string bytesSent() const;
    uint64_t opens() const { return opens_; }

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
    void setDtrEnable(bool level) override { dtr_ = level; }
    void setEventHandler(EventHandler handler) override { handler_ = std::move(handler); }

private:
    PortAvailability availability(int16_t number) const;
    void record(WireRecord sent);
    void deliver(const std::vector<Emission>& emissions);
    void arrive(uint64_t session, const std::string& bytes);

    VirtualEventLoop& loop_;
    ProjectorModel& projector_;
    std::map<int16_t, PortAvailability> ports_;
    EventHandler handler_;
    bool paced_ = true;
    bool open_ = false;
    bool dtr_ = false;
    int16_t number_ = 1;
    fw::InputMode mode_ = fw::InputMode::Text;
    std::string inQueue_;
    uint64_t session_ = 0;  // counts opens, so bytes meant for an earlier session are not delivered
    uint64_t opens_ = 0;
    uint64_t sent_ = 0;
    uint64_t failAfter_ = UINT64_MAX;
    std::size_t driverBuffer_ = 0;
    Micros receiveEventDelay_ = 0;
    Micros networkDelay_ = 0;
    Micros txFree_ = 0;
    Micros rxFree_ = 0;
    std::vector<WireRecord> wire_;
};

} // namespace fw::sim
