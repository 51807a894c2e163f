#include "IspProtocol.h"

#include <utility>

namespace fw::sim::isp {

namespace {

uint8_t sumOf(std::string_view bytes)
{
    uint8_t sum = 0;
    for (char b : bytes) sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(b));
    return sum;
}

} // namespace

uint32_t byteSum(std::string_view bytes)
{
    uint32_t sum = 0;
    for (char b : bytes) sum += static_cast<uint8_t>(b);
    return sum;
}

std::string littleEndian32(uint32_t value)
{
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i) out[static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

uint32_t readLittleEndian32(std::string_view bytes)
{
    uint32_t value = 0;
    for (std::size_t i = 0; i < 4 && i < bytes.size(); ++i) value |= uint32_t(static_cast<uint8_t>(bytes[i])) << (8 * i);
    return value;
}

std::string encode(const Frame& frame)
{
    std::string body;
    body += static_cast<char>(frame.type);
    body += static_cast<char>(frame.payload.size() & 0xFF);
    body += static_cast<char>((frame.payload.size() >> 8) & 0xFF);
    body += frame.payload;
    const auto check = static_cast<char>(static_cast<uint8_t>(0x100 - sumOf(body)));
    return std::string(1, kSoh) + body + check;
}

Frame beginFrame(uint32_t imageSize) { return {FrameType::Begin, littleEndian32(imageSize)}; }

Frame dataFrame(uint8_t sequence, std::string_view chunk)
{
    // Appended, not prepended: GCC 12 at -O2 takes a prepend for an overlapping copy (-Wrestrict).
    std::string payload(1, static_cast<char>(sequence));
    payload += chunk;
    return {FrameType::Data, std::move(payload)};
}

Frame endFrame(uint32_t imageSum) { return {FrameType::End, littleEndian32(imageSum)}; }

uint8_t sequenceOf(const Frame& frame)
{
    return frame.type == FrameType::Data && !frame.payload.empty() ? static_cast<uint8_t>(frame.payload[0]) : 0;
}

Frame answerFrame(bool accepted, const Frame& answered)
{
    return {accepted ? FrameType::Accepted : FrameType::Refused,
            std::string{static_cast<char>(answered.type), static_cast<char>(sequenceOf(answered))}};
}

bool answers(const Frame& answer, const Frame& request)
{
    return answer.payload.size() == 2 && answer.payload[0] == static_cast<char>(request.type) &&
           static_cast<uint8_t>(answer.payload[1]) == sequenceOf(request);
}

void FrameReader::reset()
{
    stage_ = Stage::Hunting;
    frame_.payload.clear();
}

FrameReader::Status FrameReader::push(char byte)
{
    const auto value = static_cast<uint8_t>(byte);
    switch (stage_) {
    case Stage::Hunting:
        if (byte == kSoh) {
            stage_ = Stage::Type;
            sum_ = 0;
            frame_.payload.clear();
        }
        return Status::Incomplete;
    case Stage::Type:
        frame_.type = static_cast<FrameType>(byte);
        sum_ = value;
        stage_ = Stage::LengthLow;
        return Status::Incomplete;
    case Stage::LengthLow:
        length_ = value;
        sum_ = static_cast<uint8_t>(sum_ + value);
        stage_ = Stage::LengthHigh;
        return Status::Incomplete;
    case Stage::LengthHigh:
        length_ |= std::size_t(value) << 8;
        sum_ = static_cast<uint8_t>(sum_ + value);
        if (length_ > kMaxPayload) {
            reset();
            return Status::Corrupt;
        }
        stage_ = length_ == 0 ? Stage::Check : Stage::Payload;
        return Status::Incomplete;
    case Stage::Payload:
        frame_.payload += byte;
        sum_ = static_cast<uint8_t>(sum_ + value);
        if (frame_.payload.size() == length_) stage_ = Stage::Check;
        return Status::Incomplete;
    case Stage::Check:
        stage_ = Stage::Hunting;
        if (static_cast<uint8_t>(sum_ + value) != 0) return Status::Corrupt;
        return Status::Complete;
    }
    return Status::Incomplete;
}

} // namespace fw::sim::isp
