#include "IspScaler.h"

namespace fw::sim::isp {

std::vector<Emission> IspScaler::receive(Micros at, std::string_view bytes)
{
    std::vector<Emission> replies;
    if (at - lastByteAt_ > timing_.frameGap) reader_.reset();
    lastByteAt_ = at;
    for (char byte : bytes) {
        const auto status = reader_.push(byte);
        if (status == FrameReader::Status::Incomplete) continue;
        if (status == FrameReader::Status::Corrupt) {
            ++refused_;  // a garbled frame cannot be named; the tool's time-out sends it again
            continue;
        }
        bool accepted = false;
        const Micros busy = handle(reader_.frame(), accepted);
        if (!accepted) ++refused_;
        replies.push_back({at + busy, encode(answerFrame(accepted, reader_.frame()))});
    }
    return replies;
}

Micros IspScaler::handle(const Frame& frame, bool& accepted)
{
    switch (frame.type) {
    case FrameType::Begin:
        accepted = frame.payload.size() == 4;
        if (accepted) {
            flashed_.reset();  // the flash is erased
            written_.clear();
            writing_ = true;
            expectedSize_ = readLittleEndian32(frame.payload);
            nextSequence_ = 0;
        }
        return timing_.erase;
    case FrameType::Data:
        accepted = takeData(frame);
        return timing_.program;
    case FrameType::End:
        accepted = takeEnd(frame);
        return timing_.verify;
    default:
        return 0;  // not a request
    }
}

bool IspScaler::takeData(const Frame& frame)
{
    if (!writing_ || frame.payload.empty()) return false;
    if (refuseNext_) {
        refuseNext_ = false;
        return false;
    }
    const auto sequence = static_cast<uint8_t>(frame.payload[0]);
    if (sequence == static_cast<uint8_t>(nextSequence_ - 1) && !written_.empty()) return true;  // our ACK was lost
    if (sequence != nextSequence_) return false;
    const std::string_view chunk = std::string_view(frame.payload).substr(1);
    if (written_.size() + chunk.size() > expectedSize_) return false;
    written_ += chunk;
    ++nextSequence_;
    return true;
}

bool IspScaler::takeEnd(const Frame& frame)
{
    if (!writing_ || frame.payload.size() != 4) return false;
    if (written_.size() != expectedSize_ || byteSum(written_) != readLittleEndian32(frame.payload)) return false;
    writing_ = false;
    flashed_ = std::move(written_);
    written_.clear();
    return true;
}

} // namespace fw::sim::isp
