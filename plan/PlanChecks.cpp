#include "plan/PlanChecks.h"

#include <cstdio>
#include <variant>

#include "core/ReadingJson.h"

namespace mb::plan {
namespace {

std::string headerText(const Reading& reading, const std::string& key) {
    for (const HeaderField& f : reading.header)
        if (f.key == key) {
            if (const auto* s = std::get_if<std::string>(&f.value)) return *s;
            return std::to_string(std::get<std::int64_t>(f.value));
        }
    return {};
}

const Record* findRecord(const Reading& reading, const std::string& quantity, std::uint64_t storage) {
    for (const Record& r : reading.records)
        if (r.quantity == quantity && r.storage == storage && r.function == RecordFunction::Instantaneous &&
            r.error.empty())
            return &r;
    return nullptr;
}

std::string valueWithUnit(double value, const std::string& unit) {
    return jsonNumber(value) + (unit.empty() ? "" : " " + unit);
}

}  // namespace

std::optional<double> replyMs(const ExchangeResult& result) {
    if (!result.firstByteTime) return std::nullopt;
    return static_cast<double>(result.firstByteTime->count()) / 1000.0;
}

std::optional<CheckFailure> verdictFailure(const ExchangeResult& result) {
    const std::string what = result.request.what.empty() ? "the request" : result.request.what;
    switch (result.verdict) {
        case Verdict::Pass:
        case Verdict::Acknowledged: return std::nullopt;
        case Verdict::NoReply:
            return CheckFailure{"no-reply", "no reply to " + what + " (" + std::to_string(result.attempts) +
                                                (result.attempts == 1 ? " request)" : " requests)")};
        case Verdict::Invalid:
            return CheckFailure{"invalid", "no valid reply to " + what + ": " + result.reason};
        case Verdict::Collision:
            return CheckFailure{"collision", "collision: more than one meter answered " + what};
        case Verdict::MeterError: return CheckFailure{"meter-error", "the meter answered " + what + " with an error"};
        case Verdict::NotSent: return CheckFailure{"not-sent", "nothing sent: " + result.reason, true};
    }
    return std::nullopt;
}

std::optional<CheckFailure> checkReading(const Meter& meter, const Reading& reading) {
    const bool mbus = meter.protocol == MeterProtocol::Mbus;
    const auto mismatch = [&](const char* label, const std::string& key, const std::string& expected)
        -> std::optional<CheckFailure> {
        const std::string got = headerText(reading, key);
        if (expected.empty() || got == expected) return std::nullopt;
        return CheckFailure{"wrong-id", std::string("wrong identification: ") + label + " " +
                                            (got.empty() ? "missing" : "'" + got + "'") + ", expected '" +
                                            expected + "'"};
    };
    if (auto f = mismatch(mbus ? "id" : "address", mbus ? "id" : "address", meter.expect.id)) return f;
    if (auto f = mismatch("manufacturer", "manufacturer", meter.expect.manufacturer)) return f;
    if (meter.expect.version)
        if (auto f = mismatch("version", "version", std::to_string(*meter.expect.version))) return f;
    if (auto f = mismatch("medium", "medium", meter.expect.medium)) return f;
    for (const Range& range : meter.ranges) {
        const Record* record = findRecord(reading, range.quantity, range.storage);
        const double* value = record ? std::get_if<double>(&record->value) : nullptr;
        if (!value)
            return CheckFailure{"out-of-range", "no " + range.quantity +
                                                    (range.storage ? " (storage " + std::to_string(range.storage) + ")" : "") +
                                                    " value in the reading"};
        if (range.min && *value < *range.min)
            return CheckFailure{"out-of-range", "out of range: " + range.quantity + " " +
                                                    valueWithUnit(*value, record->unit) + " below the minimum " +
                                                    jsonNumber(*range.min)};
        if (range.max && *value > *range.max)
            return CheckFailure{"out-of-range", "out of range: " + range.quantity + " " +
                                                    valueWithUnit(*value, record->unit) + " above the maximum " +
                                                    jsonNumber(*range.max)};
    }
    return std::nullopt;
}

std::optional<CheckFailure> checkReplyTime(const Meter& meter, const ExchangeResult& result) {
    const auto ms = replyMs(result);
    if (!meter.maxReplyMs || !ms || *ms <= *meter.maxReplyMs) return std::nullopt;
    char text[96];
    std::snprintf(text, sizeof text, "too slow: first byte after %.1f ms, max_reply_ms is %d", *ms, *meter.maxReplyMs);
    return CheckFailure{"too-slow", text};
}

std::optional<CheckFailure> judgeRead(const Meter& meter, const ExchangeResult& result) {
    if (auto f = verdictFailure(result)) return f;
    if (result.otherAddress)
        return CheckFailure{"wrong-id", "wrong identification: " + *result.otherAddress};
    if (auto f = checkReading(meter, result.reading)) return f;
    return checkReplyTime(meter, result);
}

std::string recordText(const Reading& reading, const std::string& quantity) {
    const Record* record = findRecord(reading, quantity, 0);
    if (!record) return {};
    if (const auto* s = std::get_if<std::string>(&record->value)) return *s;
    if (const auto* d = std::get_if<double>(&record->value)) return jsonNumber(*d);
    return {};
}

}  // namespace mb::plan
