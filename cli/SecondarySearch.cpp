#include "cli/SecondarySearch.h"

#include "cli/FrameInput.h"

namespace mb::cli {

std::vector<FoundMeter> SecondarySearch::run() {
    found_.clear();
    search(SecondaryMask{}, 0);
    // Leave no meter selected: a later master's request to 253 must not find one.
    session_.exchange(mbusSndNke(kMbusAddressSelected), FrameKind::Mbus, quickScanTiming(session_, waitMs_));
    return found_;
}

void SecondarySearch::search(SecondaryMask mask, std::size_t digit) {
    const Bytes select = mbusSelect(mask);
    ++selections_;
    const Reply reply = session_.exchange(select, FrameKind::Mbus, fullScanTiming(session_, waitMs_));
    const Answer answer = classify(reply);
    if (answer == Answer::Silent) return;
    if (answer == Answer::Single && reply.frames[0] == Bytes{0xE5}) {
        readSelected(mask);
        return;
    }
    if (digit == mask.idDigits.size()) {
        // Every digit is fixed and still several answer: meters that share an
        // identification number. Say so rather than guess.
        FoundMeter meter;
        for (auto d : mask.idDigits) meter.id += static_cast<char>('0' + d);
        meter.note = "collision: several meters with this identification number";
        found_.push_back(meter);
        return;
    }
    for (std::uint8_t d = 0; d <= 9; ++d) {
        mask.idDigits[digit] = d;
        search(mask, digit + 1);
    }
}

void SecondarySearch::readSelected(const SecondaryMask& mask) {
    const Bytes request = mbusReqUd2(kMbusAddressSelected);
    FoundMeter meter;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const Reply reply = session_.exchange(request, FrameKind::Mbus, {session_.defaultReadTimeoutMs(),
                                                                         session_.defaultReadTimeoutMs()});
        if (reply.clean()) {
            const Reading reading = decodeAnyFrame(reply.frames[0]);
            if (reading.checkPassed && reading.error.empty()) {
                fillFromReading(meter, reading);
                found_.push_back(meter);
                return;
            }
        }
    }
    for (auto d : mask.idDigits) meter.id += d == 0xF ? '?' : static_cast<char>('0' + d);
    meter.note = "selected, but no valid reply to REQ_UD2";
    found_.push_back(meter);
}

}  // namespace mb::cli
