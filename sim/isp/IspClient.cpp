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

std::string IspClient::frameAt(std::size_t index) const
{
    if (index == 0) return encode(beginFrame(static_cast<uint32_t>(image_.size())));
    if (index == frameCount_ - 1) return encode(endFrame(byteSum(image_)));
    const std::size_t chunk = index - 1;
    return encode(dataFrame(static_cast<uint8_t>(chunk & 0xFF),
                            std::string_view(image_).substr(chunk * kDataChunk, kDataChunk)));
}

std::string IspClient::start() { return frameAt(0); }

std::string IspClient::received(char byte)
{
    if (finished_) return {};
    if (byte == kNak) return retry("refused");
    if (byte != kAck) return {};  // line noise or leftover text
    ++acknowledged_;
    retries_ = 0;
    if (++current_ == frameCount_) {
        finished_ = true;
        return {};
    }
    if (giveUpAfter_ && acknowledged_ >= *giveUpAfter_)
        return fail("Error: verify failed at block " + std::to_string(current_));
    return frameAt(current_);
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
    return frameAt(current_);
}

std::string IspClient::fail(std::string reason)
{
    finished_ = true;
    failure_ = std::move(reason);
    return {};
}

uint32_t IspClient::replyTimeoutMs() const { return current_ == 0 ? kEraseTimeoutMs : kFrameTimeoutMs; }

} // namespace fw::sim::isp
