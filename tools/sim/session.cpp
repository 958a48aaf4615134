#include "tools/sim/session.h"

#include <utility>

namespace mb::sim {

Session::Session(SimSettings settings)
    : cj188_(settings.cj188), mbus_(std::move(settings.mbus)), shaper_(settings.faults) {}

std::vector<Exchange> Session::feed(const std::uint8_t* data, std::size_t size,
                                    const DateTime& now) {
    std::vector<Exchange> exchanges;
    for (const ScannedFrame& frame : scanner_.feed(data, size))
        exchanges.push_back(handle(frame, now));
    return exchanges;
}

Exchange Session::handle(const ScannedFrame& frame, const DateTime& now) {
    Exchange exchange{frame.bytes, {}, false, {}, {}};
    std::optional<Bytes> reply;
    if (frame.kind == FrameKind::Cj188) {
        switch (cj188_.classify(frame.bytes)) {
            case Cj188Answer::ReadData:
                exchange.what = "cj188 read-data";
                break;
            case Cj188Answer::ReadAddress:
                exchange.what = "cj188 read-address";
                break;
            case Cj188Answer::NotForMe:
                exchange.what = "ignored cj188";
                break;
        }
        reply = cj188_.answer(frame.bytes, now);
    } else {
        const std::uint8_t before = mbus_.primaryAddress();
        const MbusAnswer kind = mbus_.classify(frame.bytes);
        switch (kind) {
            case MbusAnswer::ReadData:
                exchange.what = "mbus req-ud2";
                break;
            case MbusAnswer::Initialise:
                exchange.what = "mbus snd-nke";
                break;
            case MbusAnswer::SetAddress:
                exchange.what = "mbus set-address";
                break;
            case MbusAnswer::NotForMe:
                exchange.what = "ignored mbus";
                break;
        }
        reply = mbus_.answer(frame.bytes, now);
        if (kind == MbusAnswer::SetAddress) {
            exchange.note = reply ? "primary address " + std::to_string(before) + " -> " +
                                        std::to_string(mbus_.primaryAddress())
                                  : "new address " + std::to_string(frame.bytes[9]) +
                                        " refused: 251..255 are reserved";
        }
    }
    if (!reply) return exchange;

    exchange.answered = true;
    exchange.plan = shaper_.shape(frame.bytes, std::move(*reply));
    if (shaper_.lastWasFaulty()) {
        if (!exchange.note.empty()) exchange.note += "; ";
        exchange.note += "fault " + faultNames(shaper_.settings().faults);
    }
    return exchange;
}

}  // namespace mb::sim
