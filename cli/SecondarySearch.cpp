#include "cli/SecondarySearch.h"


namespace mb::cli {

std::vector<FoundMeter> SecondarySearch::run() {
    found_.clear();
    search(SecondaryMask{}, 0);
    // Leave no meter selected: a later master's request to 253 must not find one.
    session_.exchange(mbusAcknowledgedExchange(mbusSndNke(kMbusAddressSelected), "SND_NKE"),
                      quickScanTiming(session_, waitMs_));
    return found_;
}

void SecondarySearch::search(SecondaryMask mask, std::size_t digit) {
    ++selections_;
    const ExchangeResult result = session_.exchange(
        mbusAcknowledgedExchange(mbusSelect(mask), "select"), fullScanTiming(session_, waitMs_));
    const Answer answer = classify(result);
    if (answer == Answer::Silent) return;
    if (answer == Answer::Single && result.verdict == Verdict::Acknowledged) {
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
    FoundMeter meter;
    ExchangeRunner::Options once;
    once.retries = 1;
    const ExchangeResult result = session_.exchange(mbusReadExchange(mbusReqUd2(kMbusAddressSelected)), once);
    if (result.verdict == Verdict::Pass) {
        fillFromReading(meter, result.reading);
        found_.push_back(meter);
        return;
    }
    for (auto d : mask.idDigits) meter.id += d == 0xF ? '?' : static_cast<char>('0' + d);
    meter.note = "selected, but no valid reply to REQ_UD2";
    found_.push_back(meter);
}

}  // namespace mb::cli
