// Drives random byte streams in random chunks, at random times, through one
// exchange of either protocol (random request kind, echo or not), and checks
// what the window and the command line rely on: it ends once, its verdict
// agrees with its frame, a pass's frame passes its protocol's own check, and
// the counts add up.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "cj188/Cj188Requests.h"
#include "core/Exchange.h"
#include "core/Protocol.h"
#include "mbus/MbusRequests.h"

namespace {

void Require(bool ok) {
    if (!ok) std::abort();
}

mb::ExchangeRequest requestFor(std::uint8_t choice) {
    switch (choice % 4) {
        case 0: return mb::cj188ReadDataExchange(mb::cj188ReadData(0x10, mb::kCj188AnyAddress));
        case 1: return mb::cj188ReadAddressExchange(mb::cj188ReadAddress(0x10));
        case 2: return mb::mbusReadExchange(mb::mbusReqUd2(choice));
        default: return mb::mbusAcknowledgedExchange(mb::mbusSetAddress(254, choice), "set");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    using namespace std::chrono_literals;
    const mb::ExchangeRequest request = requestFor(data[0]);
    const bool echo = (data[1] & 1) != 0;
    data += 2;
    size -= 2;

    mb::Exchange::Timing timing;
    timing.firstByteWithin = 100ms;
    timing.answerWithin = 200ms;
    const mb::Exchange::Clock::time_point t0{};
    mb::Exchange exchange(request, timing, t0);
    auto now = t0;
    if (echo) exchange.receive(request.bytes, now);
    std::size_t fed = echo ? request.bytes.size() : 0;
    int endings = exchange.finished() ? 1 : 0;
    // Each chunk: one length byte (1..16), one time step (0..15 ms), then the bytes.
    for (std::size_t at = 0; at + 2 <= size;) {
        const std::size_t n = std::min<std::size_t>(1 + data[at] % 16, size - at - 2);
        now += std::chrono::milliseconds(data[at + 1] % 16);
        at += 2;
        const bool wasFinished = exchange.finished();
        if (exchange.elapse(now)) ++endings;
        const bool ended = exchange.receive(std::span(data + at, n), now);
        if (ended && !wasFinished && !exchange.result().late) ++endings;
        fed += n;
        at += n;
    }
    exchange.elapse(now + 1s);
    if (exchange.finished() && endings == 0) endings = 1;
    Require(endings == 1);

    const mb::ExchangeResult& r = exchange.result();
    Require(r.bytesSeen <= fed);
    Require(r.noiseBytes <= r.bytesSeen);
    if (r.answered()) {
        const mb::FrameCheck check = request.protocol->checkFrame(r.frame);
        Require(check.status == mb::FrameCheck::Status::Whole && check.length == r.frame.size());
        Require(r.replyTime.has_value() && r.replyTime->count() >= 0);
    } else {
        Require(!r.replyTime.has_value());
    }
    if (r.verdict == mb::Verdict::NoReply) Require(r.noiseBytes == 0);
    return 0;
}
