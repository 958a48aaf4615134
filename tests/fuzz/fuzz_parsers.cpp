// Drives random byte streams in random chunks through the receive path and
// both parsers, with random mode switches, request builds and ClsChar calls,
// and checks the invariants the window relies on after every step.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cj188/TransmitFrame.h"
#include "serial/HexText.h"
#include "serial/ProtocolCore.h"

namespace {

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::string_view take(std::size_t n) {
        n = std::min(n, size_ - at_);
        std::string_view s(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return s;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

void Require(bool ok) {
    if (!ok) std::abort();
}

bool InRing(std::int16_t pos) {
    return pos >= 0 && pos <= mb::ReceiveRing::kLastCell;
}

// The parser loop byte by byte, through the ring's single-byte reads only: the
// reference the run-based parsers must match exactly.
void ReferenceParse(mb::ReceiveRing& ring, mb::FrameCollector& c, std::uint8_t& complete,
                    bool mbus) {
    for (;;) {
        if (!ring.RingHasData() || complete != 0) return;
        std::uint8_t byte;
        if (c.FrameIndex == 0) {
            byte = ring.RingTake();
            ring.StartScanAtReadPos();
            c.CheckSum = 0;
            if (byte != 0x68) continue;
        } else {
            byte = ring.RingPeek();
            const int checksumIndex = mbus ? c.FrameBuffer[2] + 4 : c.FrameBuffer[10] + 11;
            if (mbus && c.FrameIndex == 4) {
                c.CheckSum = 0;
            } else if (c.FrameIndex == checksumIndex) {
                c.FrameIndex = 0;
                if (byte == (c.CheckSum & 0xFF)) {
                    ring.ClsChar(ring.RingScanPos());
                    complete = 1;
                    return;
                }
                continue;
            }
        }
        c.FrameBuffer[static_cast<std::size_t>(c.FrameIndex)] = byte;
        c.CheckSum += byte;
        if (++c.FrameIndex > 255) c.FrameIndex = 0;
    }
}

void RequireSameRing(const mb::ReceiveRing& a, const mb::ReceiveRing& b) {
    Require(a.RingWritePos() == b.RingWritePos());
    Require(a.RingReadPos() == b.RingReadPos());
    Require(a.RingScanPos() == b.RingScanPos());
    Require(a.RingHasData() == b.RingHasData());
    for (std::int16_t i = 0; i <= mb::ReceiveRing::kLastCell; ++i) Require(a.Cell(i) == b.Cell(i));
}

void CheckInvariants(const mb::ProtocolCore& core) {
    const mb::ReceiveRing& ring = core.ring();
    Require(InRing(ring.RingWritePos()));
    Require(InRing(ring.RingReadPos()));
    Require(InRing(ring.RingScanPos()));
    Require(core.collector().FrameIndex >= 0 && core.collector().FrameIndex <= 255);
    const auto mode = static_cast<std::uint8_t>(core.parseMode());
    Require(mode <= 2);
    Require(core.RxCount() >= 0 && core.TxCount() >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    mb::ProtocolCore core;
    while (!in.empty()) {
        switch (in.byte() % 8) {
            case 0:
            case 1:
            case 2: {  // a receive event of 0..255 bytes
                const std::string_view chunk = in.take(in.byte());
                const auto* bytes = reinterpret_cast<const std::uint8_t*>(chunk.data());
                mb::ReceiveRing refRing = core.ring();
                mb::FrameCollector refCollector = core.collector();
                const mb::ParseMode mode = core.parseMode();
                const bool awaiting = core.awaitingReply();
                std::uint8_t refComplete = 0;
                refRing.RingFill({bytes, chunk.size()});
                if (mode != mb::ParseMode::None) {
                    ReferenceParse(refRing, refCollector, refComplete, mode == mb::ParseMode::Mbus);
                }

                const mb::ReceiveResult r = core.onReceived({bytes, chunk.size()});
                RequireSameRing(core.ring(), refRing);
                Require(core.collector().FrameIndex == refCollector.FrameIndex);
                Require(core.collector().FrameBuffer == refCollector.FrameBuffer);
                Require(core.collector().CheckSum == refCollector.CheckSum);
                Require(r.checkPass == (refComplete == 1 && awaiting));
                Require(r.echo.size() == chunk.size() * 3);
                if (r.checkPass) {
                    Require(core.parseMode() == mb::ParseMode::None);
                    Require(!core.awaitingReply() && !core.frameComplete());
                    Require(core.collector().FrameIndex == 0);
                    Require(core.collector().FrameBuffer[0] == 0x68);
                }
                break;
            }
            case 3:
                core.setParseMode(static_cast<mb::ParseMode>(in.byte() % 3));
                break;
            case 4: {  // a request built from arbitrary field texts
                const std::uint8_t kind = in.byte();
                const std::string_view text = in.take(in.byte() % 16);
                mb::Transmission t;
                switch (kind % 4) {
                    case 0:
                        t = core.cj188ReadData({std::string(text), std::string(text.substr(0, 2)),
                                                std::string(text.substr(text.size() / 2)),
                                                std::string(text)});
                        Require(t.bytes.size() == 19);
                        break;
                    case 1:
                        t = core.cj188ReadId(text);
                        Require(t.bytes.size() == 19);
                        break;
                    case 2:
                        t = core.mbusReadData(text);
                        Require(t.bytes.size() == 5);
                        break;
                    default:
                        t = core.mbusModifyId(text);
                        Require(t.bytes.size() == 12);
                        break;
                }
                Require(t.paneText == mb::HexEcho(t.bytes));
                break;
            }
            case 5: {
                const int target = (in.byte() << 8 | in.byte()) % (mb::ReceiveRing::kLastCell + 1);
                core.ClsChar(static_cast<std::int16_t>(target));
                break;
            }
            case 6:
                core.setAwaitingReply(in.byte() & 1);
                break;
            default: {  // the text helpers on arbitrary text
                const std::string_view text = in.take(in.byte() % 32);
                const std::vector<std::uint8_t> bytes = mb::PaneTextToBytes(text);
                Require(bytes.size() * 2 <= text.size());
                (void)mb::HexPairToByte(text.substr(0, 2));
                Require(mb::PadText(text, 10, "L").size() >= text.size());
                break;
            }
        }
        CheckInvariants(core);
    }
    return 0;
}
