#include "mbus/TelegramSequence.h"

#include <algorithm>

#include "mbus/MbusRequests.h"

namespace mb {
namespace {

constexpr int kMostTelegrams = 64;  // a meter that never stops is cut off here

bool moreFollow(const Reading& reading) {
    return std::any_of(reading.header.begin(), reading.header.end(),
                       [](const HeaderField& f) { return f.key == "more_records_follow"; });
}

// The DIF 1F that closes a telegram carries no data of its own: the merged
// reading has neither it nor the header line it makes.
void dropMoreFollow(Reading& reading) {
    std::erase_if(reading.header,
                  [](const HeaderField& f) { return f.key == "more_records_follow"; });
    std::erase_if(reading.records, [](const Record& r) { return r.rawHex == "1F"; });
}

}  // namespace

ExchangeRequest TelegramSequence::first() {
    return mbusAcknowledgedExchange(mbusSndNke(address_), "SND_NKE");
}

std::optional<ExchangeRequest> TelegramSequence::readTelegram() {
    ExchangeRequest r = mbusReadExchange(mbusReqUd2(address_, fcb_));
    fcb_ = !fcb_;
    return r;
}

std::optional<ExchangeRequest> TelegramSequence::next(const ExchangeResult& result) {
    if (!reset_) {
        reset_ = true;
        merged_ = result;  // a failed SND_NKE is the answer
        if (result.verdict != Verdict::Acknowledged) return std::nullopt;
        return readTelegram();
    }
    const bool more = result.verdict == Verdict::Pass && moreFollow(result.reading);
    if (++telegrams_ == 1) {
        merged_ = result;
    } else if (result.verdict != Verdict::Pass) {
        merged_ = result;  // the telegram that failed ends the read
        return std::nullopt;
    } else {
        Reading next = result.reading;
        dropMoreFollow(next);
        auto& records = merged_.reading.records;
        records.insert(records.end(), next.records.begin(), next.records.end());
    }
    if (more && telegrams_ < kMostTelegrams) return readTelegram();
    if (merged_.verdict == Verdict::Pass) {
        dropMoreFollow(merged_.reading);
        merged_.reading.header.push_back({"telegrams", "Telegrams", std::int64_t{telegrams_}});
    }
    return std::nullopt;
}

}  // namespace mb
