#include "tools/sim/session.h"

#include <algorithm>
#include <utility>

namespace mb::sim {

namespace {

std::vector<MbusMeter> mbusLine(const MbusSettings& first, unsigned count) {
    std::vector<MbusMeter> meters;
    for (unsigned i = 0; i < std::max(1u, count); ++i) {
        MbusSettings s = first;
        s.primaryAddress = static_cast<std::uint8_t>(first.primaryAddress + i);
        s.identNumber = (first.identNumber + i) % 100000000;
        meters.emplace_back(s);
    }
    return meters;
}

const char* mbusWhat(MbusAnswer kind) {
    switch (kind) {
        case MbusAnswer::ReadData:
            return "mbus req-ud2";
        case MbusAnswer::Initialise:
            return "mbus snd-nke";
        case MbusAnswer::SetAddress:
            return "mbus set-address";
        case MbusAnswer::SetDateTime:
            return "mbus set-date-time";
        case MbusAnswer::ApplicationReset:
            return "mbus application-reset";
        case MbusAnswer::SwitchBaud:
            return "mbus switch-baud";
        case MbusAnswer::Select:
            return "mbus select";
        case MbusAnswer::NotForMe:
            break;
    }
    return "ignored mbus";
}

void addNote(std::string& note, const std::string& text) {
    if (text.empty()) return;
    if (!note.empty()) note += "; ";
    note += text;
}

std::vector<Cj188Meter> cj188Line(const Cj188Settings& first, unsigned count) {
    std::vector<Cj188Meter> meters;
    for (unsigned i = 0; i < std::max(1u, count); ++i) {
        Cj188Settings s = first;
        s.address[0] = static_cast<std::uint8_t>(first.address[0] + 0x10 * i);
        meters.emplace_back(s);
    }
    return meters;
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& n : names) text += (text.empty() ? "" : ", ") + n;
    return text;
}

}  // namespace

Session::Session(SimSettings settings)
    : cj188Water_(cj188Line(settings.cj188, settings.cj188Meters)),
      cj188Heat_(settings.cj188Heat),
      mbus_(mbusLine(settings.mbus, settings.mbusMeters)),
      shaper_(settings.faults) {}

std::vector<Exchange> Session::feed(const std::uint8_t* data, std::size_t size,
                                    const DateTime& now) {
    std::vector<Exchange> exchanges;
    for (const ScannedFrame& frame : scanner_.feed(data, size))
        exchanges.push_back(handle(frame, now));
    return exchanges;
}

// The water meters are asked first, so a wildcard request with type AA reaches
// them alone; the heat meter answers its own type 20H or its own address. Each
// water meter a request is for answers, back to back (a collision when several).
void Session::handleCj188(const ScannedFrame& frame, const DateTime& now, Exchange& exchange,
                          Bytes& reply) {
    exchange.what = "ignored cj188";
    std::vector<Cj188Meter*> asked;
    for (Cj188Meter& meter : cj188Water_)
        if (meter.classify(frame.bytes) != Cj188Answer::NotForMe) asked.push_back(&meter);
    if (asked.empty() && cj188Heat_.classify(frame.bytes) != Cj188Answer::NotForMe) asked.push_back(&cj188Heat_);
    for (Cj188Meter* meter : asked) {
        exchange.what = Cj188Meter::requestName(frame.bytes);
        if (auto answer = meter->answer(frame.bytes, now)) {
            reply.insert(reply.end(), answer->begin(), answer->end());
            exchange.answeredBy.push_back(meter->name());
        }
    }
    if (exchange.answeredBy.size() > 1)
        addNote(exchange.note, "collision: " + std::to_string(exchange.answeredBy.size()) + " meters answered");
}

// Every meter on the line hears the request; each one it is for answers, back
// to back, which on a real bus is a collision.
void Session::handleMbus(const ScannedFrame& frame, const DateTime& now, Exchange& exchange,
                         Bytes& reply) {
    MbusAnswer seen = MbusAnswer::NotForMe;
    std::vector<std::string> moved, selected, deselected;
    bool refused = false;
    for (MbusMeter& meter : mbus_) {
        const MbusAnswer kind = meter.classify(frame.bytes);
        if (kind == MbusAnswer::NotForMe) continue;
        seen = kind;
        const std::uint8_t before = meter.primaryAddress();
        const bool wasSelected = meter.selected();
        auto answer = meter.answer(frame.bytes, now);
        if (answer) {
            reply.insert(reply.end(), answer->begin(), answer->end());
            exchange.answeredBy.push_back(meter.name());
        }
        if (kind == MbusAnswer::SetAddress) {
            if (answer)
                moved.push_back("primary address " + std::to_string(before) + " -> " +
                                std::to_string(meter.primaryAddress()));
            else
                refused = true;
        }
        if (answer && kind == MbusAnswer::SwitchBaud) exchange.newLineBaud = meter.baud();
        if (meter.selected() && kind == MbusAnswer::Select) selected.push_back(meter.name());
        if (wasSelected && !meter.selected()) deselected.push_back(meter.name());
    }
    exchange.what = mbusWhat(seen);
    for (const auto& m : moved) addNote(exchange.note, m);
    if (refused)
        addNote(exchange.note, "new address " + std::to_string(frame.bytes[9]) +
                                   " refused: 251..255 are reserved");
    if (seen == MbusAnswer::Select && selected.empty()) addNote(exchange.note, "no meter selected");
    if (!selected.empty()) addNote(exchange.note, "selected " + joined(selected));
    if (!deselected.empty()) addNote(exchange.note, "deselected " + joined(deselected));
    if (exchange.answeredBy.size() > 1)
        addNote(exchange.note, "collision: " + std::to_string(exchange.answeredBy.size()) +
                                   " meters answer");
}

Exchange Session::handle(const ScannedFrame& frame, const DateTime& now) {
    Exchange exchange{frame.bytes, {}, false, {}, {}, {}};
    Bytes reply;
    if (frame.kind == FrameKind::Cj188)
        handleCj188(frame, now, exchange, reply);
    else
        handleMbus(frame, now, exchange, reply);
    if (exchange.answeredBy.empty()) return exchange;

    exchange.answered = true;
    exchange.plan = shaper_.shape(std::move(reply));
    if (shaper_.lastWasFaulty()) addNote(exchange.note, "fault " + faultNames(shaper_.settings().faults));
    return exchange;
}

}  // namespace mb::sim
