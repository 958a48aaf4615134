// Drives random byte streams in random chunks through the receive path and
// both parsers, with random mode switches, request builds and clsChar calls,
// and checks the invariants the window relies on after every step.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cj188/Cj188Operations.h"
#include "cj188/Cj188ReplyParser.h"
#include "mbus/MbusOperations.h"
#include "mbus/MbusLongFrameParser.h"
#include "core/PaneText.h"
#include "core/HexText.h"
#include "core/ProtocolCore.h"

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
        if (!ring.ringHasData() || complete != 0) return;
        std::uint8_t byte;
        if (c.frameIndex == 0) {
            byte = ring.ringTake();
            ring.startScanAtReadPos();
            c.checkSum = 0;
            if (byte != 0x68) continue;
        } else {
            byte = ring.ringPeek();
            const int checksumIndex = mbus ? c.frameBuffer[2] + 4 : c.frameBuffer[10] + 11;
            if (mbus && c.frameIndex == 4 &&
                (c.frameBuffer[1] != c.frameBuffer[2] || c.frameBuffer[1] < 3 ||
                 c.frameBuffer[3] != 0x68)) {
                // Not 68 L L 68: hunting resumes at the byte after the start,
                // the byte just read included.
                c.frameIndex = 0;
                ring.resumeAtReadPos();
                continue;
            }
            if (mbus && c.frameIndex == 4) {
                c.checkSum = 0;
            } else if (c.frameIndex == checksumIndex) {
                c.frameIndex = 0;
                if (byte == (c.checkSum & 0xFF)) {
                    ring.clsChar(ring.ringScanPos());
                    complete = 1;
                    return;
                }
                ring.resumeAtReadPos();
                continue;
            }
        }
        c.frameBuffer[static_cast<std::size_t>(c.frameIndex)] = byte;
        c.checkSum += byte;
        if (++c.frameIndex > 255) c.frameIndex = 0;
    }
}

void RequireSameRing(const mb::ReceiveRing& a, const mb::ReceiveRing& b) {
    Require(a.ringWritePos() == b.ringWritePos());
    Require(a.ringReadPos() == b.ringReadPos());
    Require(a.ringScanPos() == b.ringScanPos());
    Require(a.ringHasData() == b.ringHasData());
    for (std::int16_t i = 0; i <= mb::ReceiveRing::kLastCell; ++i) Require(a.cell(i) == b.cell(i));
}

void CheckInvariants(const mb::ProtocolCore& core) {
    const mb::ReceiveRing& ring = core.ring();
    Require(InRing(ring.ringWritePos()));
    Require(InRing(ring.ringReadPos()));
    Require(InRing(ring.ringScanPos()));
    Require(core.collector().frameIndex >= 0 && core.collector().frameIndex <= 255);
    const mb::FrameShape* shape = core.replyShape();
    Require(shape == nullptr || shape == &mb::kCj188ReplyShape || shape == &mb::kMbusLongFrameShape);
    Require(core.rxCount() >= 0 && core.txCount() >= 0);
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
                const mb::FrameShape* mode = core.replyShape();
                const bool awaiting = core.awaitingReply();
                std::uint8_t refComplete = 0;
                // Slices the ring can hold while a parser consumes them.
                for (std::size_t done = 0; done < chunk.size() || chunk.empty();) {
                    std::size_t room = chunk.size() - done;
                    if (mode != nullptr && refComplete == 0)
                        room = std::min<std::size_t>(
                            room, std::max(1, mb::ReceiveRing::kCellCount - 1 - refRing.unreadCount()));
                    refRing.ringFill({bytes + done, room});
                    if (mode != nullptr)
                        ReferenceParse(refRing, refCollector, refComplete,
                                       mode == &mb::kMbusLongFrameShape);
                    done += room;
                    if (refComplete == 1 && awaiting) mode = nullptr;
                    if (chunk.empty()) break;
                }

                const mb::ReceiveResult r = core.onReceived({bytes, chunk.size()});
                RequireSameRing(core.ring(), refRing);
                Require(core.collector().frameIndex == refCollector.frameIndex);
                Require(core.collector().frameBuffer == refCollector.frameBuffer);
                Require(core.collector().checkSum == refCollector.checkSum);
                Require(r.checkPass == (refComplete == 1 && awaiting));
                Require(r.echo.size() == chunk.size() * 3);
                if (r.checkPass) {
                    Require(core.replyShape() == nullptr);
                    Require(!core.awaitingReply() && !core.frameComplete());
                    Require(core.collector().frameIndex == 0);
                    Require(core.collector().frameBuffer[0] == 0x68);
                }
                break;
            }
            case 3:
            {
                const mb::FrameShape* shapes[] = {nullptr, &mb::kCj188ReplyShape,
                                                  &mb::kMbusLongFrameShape};
                core.setReplyShape(shapes[in.byte() % 3]);
            }
                break;
            case 4: {  // a request built from arbitrary field texts
                const std::uint8_t kind = in.byte();
                const std::string_view text = in.take(in.byte() % 16);
                mb::Transmission t;
                switch (kind % 4) {
                    case 0:
                        t = mb::cj188ReadData(core, {std::string(text), std::string(text.substr(0, 2)),
                                                std::string(text.substr(text.size() / 2)),
                                                std::string(text)});
                        Require(t.bytes.size() == 19);
                        break;
                    case 1:
                        t = mb::cj188ReadId(core, text);
                        Require(t.bytes.size() == 19);
                        break;
                    case 2:
                        t = mb::mbusReadData(core, text);
                        Require(t.bytes.size() == 5);
                        break;
                    default:
                        t = mb::mbusModifyId(core, text);
                        Require(t.bytes.size() == 12);
                        break;
                }
                Require(t.paneText == mb::hexEcho(t.bytes));
                break;
            }
            case 5: {
                const int target = (in.byte() << 8 | in.byte()) % (mb::ReceiveRing::kLastCell + 1);
                core.ring().clsChar(static_cast<std::int16_t>(target));
                break;
            }
            case 6:
                core.setAwaitingReply(in.byte() & 1);
                break;
            default: {  // the text helpers on arbitrary text
                const std::string_view text = in.take(in.byte() % 32);
                const std::vector<std::uint8_t> bytes = mb::paneTextToBytes(text);
                Require(bytes.size() * 2 <= text.size());
                (void)mb::hexPairToByte(text.substr(0, 2));
                Require(mb::padText(text, 10, "L").size() >= text.size());
                break;
            }
        }
        CheckInvariants(core);
    }
    return 0;
}
