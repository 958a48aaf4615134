#include "core/ProtocolCore.h"

#include <algorithm>

#include "core/HexText.h"
#include "core/PaneText.h"

namespace mb {

namespace {
constexpr std::uint8_t kStopByte = 0x16;
}

ReceiveResult ProtocolCore::onReceived(std::span<const std::uint8_t> bytes) {
    ReceiveResult result;
    result.checkPass = onReceived(bytes, result.echo);
    if (result.checkPass) result.frame = lastFrame_;
    return result;
}

bool ProtocolCore::onReceived(std::span<const std::uint8_t> bytes, std::string& echo) {
    rxCount_ += static_cast<std::int64_t>(bytes.size());
    if (!bytes.empty() && !awaitingReply_) bytesWhileIdle_ = true;
    appendHexEcho(echo, bytes);
    frameComplete_ = 0;
    bool passed = false;
    std::size_t done = 0;
    do {
        // Unparsed bytes are kept, not overwritten, only while a parser consumes
        // them; without one the ring simply keeps the latest bytes.
        std::size_t room = bytes.size() - done;
        if (replyShape_ != nullptr) {
            const int free = ReceiveRing::kCellCount - 1 - ring_.unreadCount();
            room = std::min(room, static_cast<std::size_t>(std::max(free, 1)));
        }
        passed = receiveSlice(bytes.subspan(done, room)) || passed;
        done += room;
    } while (done < bytes.size());
    return passed;
}

bool ProtocolCore::receiveSlice(std::span<const std::uint8_t> slice) {
    ring_.ringFill(slice);
    if (replyShape_ == nullptr) return false;
    collectFrame(ring_, collector_, *replyShape_, frameComplete_);
    if (frameComplete_ == 0 || !awaitingReply_) return false;
    keepAcceptedFrame();
    replyShape_ = nullptr;
    frameComplete_ = 0;
    awaitingReply_ = false;
    return true;
}

void ProtocolCore::keepAcceptedFrame() {
    const int length = acceptedFrameLength(collector_, *replyShape_);
    lastFrame_.assign(collector_.frameBuffer.begin(), collector_.frameBuffer.begin() + length);
    // The checksum byte is compared, not stored: it is the sum it matched.
    lastFrame_.back() = static_cast<std::uint8_t>(collector_.checkSum & 0xFF);
    // The parser judges up to the checksum; the stop byte is handed on when it came.
    if (ring_.unreadCount() > 0 && ring_.cell(ring_.ringReadPos()) == kStopByte)
        lastFrame_.push_back(kStopByte);
}

void ProtocolCore::dropUnreadBytes() {
    ring_.clsChar(ring_.ringWritePos());
    collector_.frameIndex = 0;
}

void ProtocolCore::awaitReply(const FrameShape* shape) {
    const FrameShape* armed = shape != nullptr ? shape : replyShape_;
    if (armed != replyShape_ || bytesWhileIdle_) dropUnreadBytes();
    bytesWhileIdle_ = false;
    replyShape_ = armed;
    awaitingReply_ = true;
}

Transmission ProtocolCore::transmitFrame(int lastIndex) {
    Transmission t;
    t.paneText = framePaneText(txBuffer_, lastIndex);
    t.bytes = paneTextToBytes(t.paneText);
    return t;
}

}  // namespace mb
