#include "cli/MultiTelegram.h"

#include <algorithm>

#include "mbus/MbusRequests.h"

namespace mb::cli {
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

ExchangeResult readAllTelegrams(LineSession& session, std::uint8_t address,
                                const ExchangeRunner::Options& options) {
    const ExchangeResult reset =
        session.exchange(mbusAcknowledgedExchange(mbusSndNke(address), "SND_NKE"), options);
    if (reset.verdict != Verdict::Acknowledged) return reset;
    bool fcb = true;
    ExchangeResult merged = session.exchange(mbusReadExchange(mbusReqUd2(address, fcb)), options);
    int telegrams = 1;
    bool more = merged.verdict == Verdict::Pass && moreFollow(merged.reading);
    while (more && telegrams < kMostTelegrams) {
        fcb = !fcb;
        ExchangeResult next = session.exchange(mbusReadExchange(mbusReqUd2(address, fcb)), options);
        if (next.verdict != Verdict::Pass) return next;
        ++telegrams;
        more = moreFollow(next.reading);
        dropMoreFollow(next.reading);
        auto& records = merged.reading.records;
        records.insert(records.end(), next.reading.records.begin(), next.reading.records.end());
    }
    dropMoreFollow(merged.reading);
    merged.reading.header.push_back({"telegrams", "Telegrams", std::int64_t{telegrams}});
    return merged;
}

}  // namespace mb::cli
