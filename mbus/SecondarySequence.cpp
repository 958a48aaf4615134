#include "mbus/SecondarySequence.h"

namespace mb {

ExchangeRequest SecondarySequence::first() {
    step_ = Step::Select;
    return mbusAcknowledgedExchange(mbusSelect(mask_), "select");
}

std::optional<ExchangeRequest> SecondarySequence::next(const ExchangeResult& result) {
    switch (step_) {
        case Step::Select:
            if (result.verdict == Verdict::Acknowledged) {
                reachedOne_ = true;
                step_ = Step::AtSelected;
                return atSelected_;
            }
            result_ = result;
            result_.reason = selectionProblem(result).value_or(result.reason);
            if (result.verdict == Verdict::NoReply) return std::nullopt;
            break;  // a meter may be selected: deselect
        case Step::AtSelected:
            result_ = result;
            break;
        case Step::Deselect:
            return std::nullopt;
    }
    step_ = Step::Deselect;
    return mbusAcknowledgedExchange(mbusSndNke(kMbusAddressSelected), "deselect");
}

std::optional<std::string> selectionProblem(const ExchangeResult& result) {
    switch (result.verdict) {
        case Verdict::Acknowledged:
            return std::nullopt;
        case Verdict::NoReply:
            return "no meter matches the selection";
        case Verdict::Collision:
            return "more than one meter matches the selection";
        default:
            return "no clean answer to the selection (" + result.reason + ")";
    }
}

std::optional<SecondaryMask> secondaryMaskOf(std::string_view text) {
    if (text.size() != 8) return std::nullopt;
    SecondaryMask mask;
    for (std::size_t i = 0; i < 8; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            mask.idDigits[i] = static_cast<std::uint8_t>(c - '0');
        else if (c == 'F' || c == 'f')
            mask.idDigits[i] = 0xF;
        else
            return std::nullopt;
    }
    return mask;
}

}  // namespace mb
