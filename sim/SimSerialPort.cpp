#include "SimSerialPort.h"

#include <algorithm>
#include <utility>

#include "ground/LineTiming.h"
#include "ground/PortError.h"

namespace fw::sim {

SimSerialPort::SimSerialPort(VirtualEventLoop& loop, ProjectorModel& projector) : loop_(loop), projector_(projector)
{
    ports_[1] = PortAvailability::Projector;
}

void SimSerialPort::setAvailability(int16_t number, PortAvailability availability) { ports_[number] = availability; }

PortAvailability SimSerialPort::availability(int16_t number) const
{
    const auto it = ports_.find(number);
    return it == ports_.end() ? PortAvailability::Missing : it->second;
}

void SimSerialPort::setPortOpen(bool open)
{
    if (!open) {
        open_ = false;
        inQueue_.clear();
        return;
    }
    if (open_) throw PortError(kPortAlreadyOpen);
    switch (availability(number_)) {
    case PortAvailability::Missing: throw PortError(kInvalidPort);
    case PortAvailability::HeldByOther: throw PortError(kPortAlreadyOpen);
    case PortAvailability::NotPermitted:
        throw PortError(kPortAlreadyOpen, OpenRefusal::PermissionDenied, "/dev/ttySIM" + std::to_string(number_));
    case PortAvailability::HeldOrNotPermitted:
        throw PortError(kPortAlreadyOpen, OpenRefusal::InUseOrPermissionDenied,
                        "/dev/ttySIM" + std::to_string(number_));
    default: break;
    }
    open_ = true;
    ++session_;
    ++opens_;
}

void SimSerialPort::setCommPort(int16_t number)
{
    if (number < 1) throw PortError(kInvalidPort);  // no serial port has a number below 1
    number_ = number;
}

void SimSerialPort::output(std::string_view bytes)
{
    if (!open_) throw PortError(kPortNotOpen);
    if (sent_ + bytes.size() > failAfter_) {
        open_ = false;
        throw PortError(kPortDeviceFailure);
    }
    if (bytes.empty()) return;
    const Micros start = std::max(loop_.now(), txFree_);
    const Micros done = start + (paced_ ? lineTimeUs(bytes.size()) : 0);
    txFree_ = done;
    sent_ += bytes.size();
    record({start, Direction::ToProjector, std::string(bytes)});
    if (availability(number_) == PortAvailability::Projector)
        deliver(projector_.receive(done + networkDelay_, bytes));
    // The write returns once the port has taken the whole block: when all
    // but what the driver buffers has gone out on the line.
    const Micros buffered = lineTimeUs(driverBuffer_);
    loop_.advanceTo(done > buffered ? done - buffered : 0);
}

void SimSerialPort::record(WireRecord sent)
{
    wire_.push_back(sent);
    if (onWire) onWire(sent);
}

void SimSerialPort::deliver(const std::vector<Emission>& emissions)
{
    for (const Emission& e : emissions) {
        const Micros start = std::max(e.at, rxFree_);
        const Micros arrival = start + (paced_ ? lineTimeUs(e.bytes.size()) : 0);
        rxFree_ = arrival;
        loop_.schedule(arrival + networkDelay_, [this, session = session_, bytes = e.bytes, start] {
            const WireRecord reply{start, Direction::FromProjector, bytes};
            wire_.push_back(reply);
            arrive(session, bytes);
            if (onWire) onWire(reply);
        });
    }
}

void SimSerialPort::injectFromProjector(Micros at, std::string bytes) { deliver({Emission{at, std::move(bytes)}}); }

void SimSerialPort::arrive(uint64_t session, const std::string& bytes)
{
    if (!open_ || session != session_) return;  // nobody listens: the bytes are lost
    inQueue_ += bytes;
    if (receiveEventDelay_ == 0) {
        if (handler_) handler_(fw::CommEvent::Received);
        return;
    }
    loop_.schedule(loop_.now() + receiveEventDelay_, [this, session] {
        if (open_ && session == session_ && handler_) handler_(fw::CommEvent::Received);
    });
}

std::size_t SimSerialPort::outputPending()
{
    if (!open_) throw PortError(kPortNotOpen);
    // Whole bytes not yet fully on the line, at ten bit times each; over a
    // network the line starts that much later.
    const Micros carried = txFree_ + networkDelay_;
    if (carried <= loop_.now()) return 0;
    return static_cast<std::size_t>(((carried - loop_.now()) * 38'400 + 9'999'999) / 10'000'000);
}

std::string SimSerialPort::input()
{
    if (!open_) throw PortError(kPortNotOpen);
    return std::exchange(inQueue_, {});
}

std::size_t SimSerialPort::inputWaiting()
{
    if (!open_) throw PortError(kPortNotOpen);
    return inQueue_.size();
}

void SimSerialPort::discardInput()
{
    if (!open_) throw PortError(kPortNotOpen);
    inQueue_.clear();
}

std::string SimSerialPort::bytesSent() const
{
    std::string all;
    for (const WireRecord& r : wire_)
        if (r.direction == Direction::ToProjector) all += r.bytes;
    return all;
}

} // namespace fw::sim
