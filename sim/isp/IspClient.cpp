#include "IspClient.h"

namespace fw::sim::isp {

namespace {

constexpr int kMaxRetries = 3;
constexpr uint32_t kEraseTimeoutMs = 5000;  // the begin frame waits for the flash erase
constexpr uint32_t kFrameTimeoutMs = 500;

} // namespace

IspClient::IspClient(std::string image, std::optional<std::size_t> giveUpAfterFrames)
    : image_(std::move(image)), giveUpAfter_(giveUpAfterFrames),
      frameCount_(2 + (image_.size() + kDataChunk - 1) / kDataChunk)
{
}

Frame IspClient::frameAt(std::size_t index) const
{
    if (index == 0) return beginFrame(static_cast<uint32_t>(image_.size()));
    if (index == frameCount_ - 1) return endFrame(byteSum(image_));
    const std::size_t chunk = index - 1;
    return dataFrame(static_cast<uint8_t>(chunk & 0xFF), std::string_view(image_).substr(chunk * kDataChunk, kDataChunk));
}

std::string IspClient::send(std::size_t index)
{
    inFlight_ = frameAt(index);
    return encode(inFlight_);
}

std::string IspClient::start() { return send(0); }

// Anything that is not an answer to the frame in flight (an echo, stray
// text, a garbled answer) is ignored; the time-out covers it.
std::string IspClient::received(char byte)
{
    if (finished_ || reader_.push(byte) != FrameReader::Status::Complete) return {};
    const Frame& answer = reader_.frame();
    if (!answers(answer, inFlight_)) return {};
    if (answer.type == FrameType::Refused) return retry("refused");
    if (answer.type != FrameType::Accepted) return {};
    return answered();
}

std::string IspClient::answered()
{
    ++acknowledged_;
    retries_ = 0;
    if (++current_ == frameCount_) {
        finished_ = true;
        return {};
    }
    if (giveUpAfter_ && acknowledged_ >= *giveUpAfter_)
        return fail("Error: verify failed at block " + std::to_string(current_));
    return send(current_);
}

std::string IspClient::timedOut()
{
    if (finished_) return {};
    return retry("not answered");
}

std::string IspClient::retry(const char* reason)
{
    if (++retries_ > kMaxRetries) return fail("Error: frame " + std::to_string(current_) + " " + reason);
    ++resends_;
    return encode(inFlight_);
}

std::string IspClient::fail(std::string reason)
{
    finished_ = true;
    failure_ = std::move(reason);
    return {};
}

uint32_t IspClient::replyTimeoutMs() const { return current_ == 0 ? kEraseTimeoutMs : kFrameTimeoutMs; }

} // namespace fw::sim::isp
