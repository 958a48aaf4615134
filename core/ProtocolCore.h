// The protocol state the window shares between its pages and its receive
// handler, and the decisions made on it. It knows no protocol: a page arms the
// reply shape its request expects, and the core hands back every accepted frame.
//
// Receive event:   auto r = core.onReceived(bytes);
//                  append r.echo to "Received Data"; show rxCount();
//                  if (r.checkPass) show "Check Pass！" and what r.frame says.
// Request:         int last = build...(core.txBuffer(), ...);
//                  auto t = core.transmitFrame(last); core.awaitReply(&shape);
//                  then the page's send sequence writes t.bytes and countSent().
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/FrameCollector.h"
#include "core/ReceiveRing.h"
#include "core/TxBuffer.h"

namespace mb {

inline constexpr const char* kCheckPassText = "Check Pass\xEF\xBC\x81";  // "Check Pass！"

struct ReceiveResult {
    std::string echo;        // "XX " per received byte, to append to "Received Data"
    bool checkPass = false;  // true: replace "Data Analysis" with kCheckPassText
    std::vector<std::uint8_t> frame;  // the accepted reply, start byte to stop byte when it came
};

// What a request operation hands to the window after building its frame.
struct Transmission {
    std::string paneText;             // text for the page's "Transmitted Data" pane
    std::vector<std::uint8_t> bytes;  // the pane read back: what is written, in one write
};

class ProtocolCore {
  public:
    // Receive handler for one event carrying `bytes` (may be empty: the armed
    // parser still runs over unread bytes). Counts them, echoes them, stores
    // them in the ring and runs the armed parser. An event larger than the ring
    // is stored in slices the ring can hold, parsed between slices, so no unread
    // byte is overwritten. A frame accepted while a reply is awaited passes, which
    // disarms the parser and ends the wait.
    ReceiveResult onReceived(std::span<const std::uint8_t> bytes);
    // Same, appending the echo to `echo`; returns checkPass (frame via lastFrame()).
    bool onReceived(std::span<const std::uint8_t> bytes, std::string& echo);
    // The frame of the last pass.
    const std::vector<std::uint8_t>& lastFrame() const { return lastFrame_; }

    // The send sequence's pure part for a frame already in txBuffer(): pane text
    // and read-back. Nothing is counted here: txCount grows only by what a port
    // took (countSent).
    Transmission transmitFrame(int lastIndex);

    // A request went out and awaits its reply. `shape` arms the parser for that
    // reply; null leaves the armed parser as it is (a request whose answer is
    // only echoed). The new wait starts from a clean candidate over bytes that
    // arrive from now on when the armed shape changes, or when bytes came in
    // while nothing was awaited: a stale reply never makes a later request pass.
    // A reply still on its way to the previous request of the same shape may pass.
    void awaitReply(const FrameShape* shape);

    std::int64_t rxCount() const { return rxCount_; }
    std::int64_t txCount() const { return txCount_; }
    void resetRxCount() { rxCount_ = 0; }
    void resetTxCount() { txCount_ = 0; }
    // Bytes a request handed to an open port (the window counts only what was written).
    void countSent(std::int64_t n) { txCount_ += n; }

    const FrameShape* replyShape() const { return replyShape_; }
    void setReplyShape(const FrameShape* shape) { replyShape_ = shape; }
    bool frameComplete() const { return frameComplete_ != 0; }
    bool awaitingReply() const { return awaitingReply_; }
    void setAwaitingReply(bool awaiting) { awaitingReply_ = awaiting; }

    ReceiveRing& ring() { return ring_; }
    const ReceiveRing& ring() const { return ring_; }
    const FrameCollector& collector() const { return collector_; }
    TxBuffer& txBuffer() { return txBuffer_; }
    const TxBuffer& txBuffer() const { return txBuffer_; }

  private:
    // Stores and parses one slice the ring can hold; true when it made a pass.
    bool receiveSlice(std::span<const std::uint8_t> slice);
    void keepAcceptedFrame();
    void dropUnreadBytes();

    ReceiveRing ring_;
    FrameCollector collector_;
    TxBuffer txBuffer_{};
    const FrameShape* replyShape_ = nullptr;
    std::uint8_t frameComplete_ = 0;
    bool awaitingReply_ = false;
    bool bytesWhileIdle_ = false;
    std::vector<std::uint8_t> lastFrame_;
    std::int64_t rxCount_ = 0;
    std::int64_t txCount_ = 0;
};

}  // namespace mb
