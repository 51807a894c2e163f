#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fw::sim::isp {

// The small protocol the stand-in ISP tool speaks with the simulated scaler
// in ISP mode. Stop and wait: the tool sends one frame, the scaler answers
// with an acknowledgement frame that names the frame it answers, so an echo
// or stray text on the line is never taken for an answer.
//
//   frame = SOH, type, payload length (2 bytes, little endian), payload,
//           check byte (the byte sum of type, length and payload plus the
//           check byte is 0 modulo 256)
//
//   'B' begin: payload = image size (4 bytes, little endian); erases the flash
//   'D' data:  payload = sequence number (1 byte, counting from 0) + up to
//              4096 image bytes; a repeated frame is acknowledged again but
//              written once
//   'E' end:   payload = byte sum of the whole image (4 bytes, little
//              endian); accepted only when size and sum match what was written
//   'A' accepted / 'N' refused (scaler to tool): payload = the answered
//              frame's type and its sequence number (0 for begin and end)
inline constexpr char kSoh = 0x01;

enum class FrameType : char { Begin = 'B', Data = 'D', End = 'E', Accepted = 'A', Refused = 'N' };

inline constexpr std::size_t kDataChunk = 4096;
inline constexpr std::size_t kMaxPayload = kDataChunk + 1;

struct Frame {
    FrameType type;
    std::string payload;
};

std::string encode(const Frame& frame);

Frame beginFrame(uint32_t imageSize);
Frame dataFrame(uint8_t sequence, std::string_view chunk);
Frame endFrame(uint32_t imageSum);
Frame answerFrame(bool accepted, const Frame& answered);

// The sequence number a frame carries (0 for all but data frames).
uint8_t sequenceOf(const Frame& frame);
// Whether `answer` answers `request`.
bool answers(const Frame& answer, const Frame& request);

uint32_t byteSum(std::string_view bytes);
std::string littleEndian32(uint32_t value);
uint32_t readLittleEndian32(std::string_view bytes);

// Takes a byte stream apart into frames; bytes outside a frame are skipped.
class FrameReader {
public:
    enum class Status { Incomplete, Complete, Corrupt };

    Status push(char byte);
    // The frame just completed.
    const Frame& frame() const { return frame_; }
    // Drops a partly read frame.
    void reset();

private:
    enum class Stage { Hunting, Type, LengthLow, LengthHigh, Payload, Check };
    Stage stage_ = Stage::Hunting;
    Frame frame_{FrameType::Begin, {}};
    std::size_t length_ = 0;
    uint8_t sum_ = 0;
};

} // namespace fw::sim::isp
