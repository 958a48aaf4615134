// The protocol state the main window shares between its pages and its receive
// handler, and the decisions made on it. The window stays a thin layer: it shows
// what these calls return and writes the bytes they hand back to the port.
//
// Receive event:   auto r = core.onReceived(bytes);
//                  append r.echo to "Received Data"; set Bevelo6 to RxCount();
//                  if (r.checkPass) set "Data Analysis" to "Check Pass！".
// Request (e.g. CJ188 Read Data), in the send sequence's order:
//                  auto t = core.cj188ReadData(fields);
//                  set "Transmitted Data" to t.paneText; prompt if the port is
//                  closed; empty "Received Data" and "Data Analysis";
//                  write the pane's bytes in one write; countSent() what the
//                  port took; set Bevelo5 to TxCount().
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cj188/Cj188Frames.h"
#include "cj188/TxBuffer.h"
#include "en1434/FrameParsers.h"
#include "serial/ReceiveRing.h"

namespace mb {

// Which reply parser runs after each receive event. No other value is stored.
enum class ParseMode : std::uint8_t { None = 0, Cj188 = 1, Mbus = 2 };

inline constexpr const char* kCheckPassText = "Check Pass\xEF\xBC\x81";  // "Check Pass！"

struct ReceiveResult {
    std::string echo;        // "XX " per received byte, to append to "Received Data"
    bool checkPass = false;  // true: replace "Data Analysis" with kCheckPassText
};

// What a request operation hands to the window after building its frame.
struct Transmission {
    std::string paneText;             // text for the page's "Transmitted Data" pane
    std::vector<std::uint8_t> bytes;  // the pane read back: what is written, in one write
};

class ProtocolCore {
  public:
    // Receive handler for one event carrying `bytes` (may be empty: the parser
    // of the current mode still runs over unread bytes). Counts them into RxCount,
    // resets FrameComplete, fills the ring, runs the parser of ParseMode, and
    // decides "Check Pass！" (FrameComplete and AwaitingReply), which returns the
    // window to ParseMode None and clears both flags.
    ReceiveResult onReceived(std::span<const std::uint8_t> bytes);
    // Same, appending the echo to `echo`; returns checkPass.
    bool onReceived(std::span<const std::uint8_t> bytes, std::string& echo);

    // Whole request operations minus the window's own steps: build in TxBuffer,
    // make the pane text, read it back into the bytes to send, then set
    // AwaitingReply (and ParseMode for the two Read Data). Nothing is counted
    // here: TxCount grows only by what a port took (countSent).
    Transmission cj188ReadData(const Cj188Fields& fields);  // ParseMode -> Cj188
    Transmission cj188ReadId(std::string_view combo7);      // ParseMode unchanged
    Transmission mbusReadData(std::string_view text6);      // ParseMode -> Mbus
    Transmission mbusModifyId(std::string_view text7);      // ParseMode unchanged

    // The send sequence's pure part for a frame already in TxBuffer: pane text
    // and read-back. Used by the operations above.
    Transmission transmitFrame(int lastIndex);

    std::int64_t RxCount() const { return rxCount_; }
    std::int64_t TxCount() const { return txCount_; }
    void resetRxCount() { rxCount_ = 0; }  // Bevelo6 click
    void resetTxCount() { txCount_ = 0; }  // Bevelo5 click
    // Bytes a request handed to an open port (the window counts only what was written).
    void countSent(std::int64_t n) { txCount_ += n; }

    ParseMode parseMode() const { return parseMode_; }
    void setParseMode(ParseMode mode) { parseMode_ = mode; }
    bool frameComplete() const { return frameComplete_ != 0; }
    bool awaitingReply() const { return awaitingReply_; }
    void setAwaitingReply(bool awaiting) { awaitingReply_ = awaiting; }

    // The window's public ClsChar forwards here.
    void ClsChar(std::int16_t target) { ring_.ClsChar(target); }

    ReceiveRing& ring() { return ring_; }
    const ReceiveRing& ring() const { return ring_; }
    const FrameCollector& collector() const { return collector_; }
    TxBuffer& txBuffer() { return txBuffer_; }
    const TxBuffer& txBuffer() const { return txBuffer_; }

  private:
    void runParser();

    ReceiveRing ring_;
    FrameCollector collector_;
    TxBuffer txBuffer_{};
    ParseMode parseMode_ = ParseMode::None;
    std::uint8_t frameComplete_ = 0;
    bool awaitingReply_ = false;
    std::int64_t rxCount_ = 0;
    std::int64_t txCount_ = 0;
};

}  // namespace mb
