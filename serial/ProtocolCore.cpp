#include "serial/ProtocolCore.h"

#include "cj188/TransmitFrame.h"
#include "en1434/MbusFrames.h"

namespace mb {

ReceiveResult ProtocolCore::onReceived(std::span<const std::uint8_t> bytes) {
    ReceiveResult result;
    result.checkPass = onReceived(bytes, result.echo);
    return result;
}

bool ProtocolCore::onReceived(std::span<const std::uint8_t> bytes, std::string& echo) {
    rxCount_ += static_cast<std::int64_t>(bytes.size());
    frameComplete_ = 0;
    ring_.RingFill(bytes, &echo);
    runParser();
    if (frameComplete_ != 0 && awaitingReply_) {
        parseMode_ = ParseMode::None;
        frameComplete_ = 0;
        awaitingReply_ = false;
        return true;
    }
    return false;
}

void ProtocolCore::runParser() {
    switch (parseMode_) {
        case ParseMode::Cj188:
            ParseCj188Reply(ring_, collector_, frameComplete_);
            break;
        case ParseMode::Mbus:
            ParseMbusLongFrame(ring_, collector_, frameComplete_);
            break;
        case ParseMode::None:
            break;
    }
}

Transmission ProtocolCore::transmitFrame(int lastIndex) {
    Transmission t;
    t.paneText = FramePaneText(txBuffer_, lastIndex);
    t.bytes = PaneTextToBytes(t.paneText);
    return t;
}

Transmission ProtocolCore::cj188ReadData(const Cj188Fields& fields) {
    Transmission t = transmitFrame(BuildCj188ReadData(txBuffer_, fields));
    parseMode_ = ParseMode::Cj188;
    awaitingReply_ = true;
    return t;
}

Transmission ProtocolCore::cj188ReadId(std::string_view combo7) {
    Transmission t = transmitFrame(BuildCj188ReadId(txBuffer_, combo7));
    awaitingReply_ = true;
    return t;
}

Transmission ProtocolCore::mbusReadData(std::string_view text6) {
    Transmission t = transmitFrame(BuildMbusReadData(txBuffer_, text6));
    parseMode_ = ParseMode::Mbus;
    awaitingReply_ = true;
    return t;
}

Transmission ProtocolCore::mbusModifyId(std::string_view text7) {
    Transmission t = transmitFrame(BuildMbusModifyId(txBuffer_, text7));
    awaitingReply_ = true;
    return t;
}

}  // namespace mb
