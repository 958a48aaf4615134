#include "cj188/Cj188Decoder.h"

#include <iterator>

#include "cj188/Cj188Fields.h"
#include "cj188/Cj188Names.h"
#include "cj188/Cj188ReadingView.h"

namespace mb {
namespace {

constexpr std::uint8_t kStart = 0x68;
constexpr std::uint8_t kStop = 0x16;
constexpr std::uint8_t kWakeUp = 0xFE;
constexpr std::size_t kHeaderSize = 11;  // 68 T A0..A6 C L
constexpr std::size_t kAddressAt = 2;
constexpr std::size_t kAddressSize = 7;

constexpr std::uint16_t kReadData = 0x901F;
constexpr std::uint16_t kReadAddress = 0x810A;
constexpr std::uint16_t kHistoryFirst = 0xD120;  // last month; D121..D12B the 11 before
constexpr std::uint16_t kHistoryLast = 0xD12B;
constexpr std::uint16_t kPrices = 0x8102;
constexpr std::uint16_t kSettlementDay = 0x8103;
constexpr std::uint16_t kReadingDay = 0x8104;
constexpr std::uint16_t kPurchase = 0x8105;
constexpr std::uint16_t kValve = 0xA017;
constexpr std::uint8_t kForcedValveControl = 0x2A;  // a vendor's valve control, not in the standard

enum class FieldKind {
    Amount,
    Temperature,
    Hours,
    RealTime,
    Status,
    Price,
    WholeVolume,
    Day,
    Count,
    Money
};

struct FieldLayout {
    FieldKind kind;
    std::string_view quantity;
    int decimals = 0;
};

constexpr std::size_t fieldSize(FieldKind kind) {
    switch (kind) {
        case FieldKind::Amount: return 5;
        case FieldKind::Temperature: return 3;
        case FieldKind::Hours: return 3;
        case FieldKind::RealTime: return 7;
        case FieldKind::Status: return 2;
        case FieldKind::Price:
            return 3;
        case FieldKind::WholeVolume:
            return 3;
        case FieldKind::Day:
            return 1;
        case FieldKind::Count:
            return 1;
        case FieldKind::Money:
            return 4;
    }
    return 0;
}

constexpr FieldLayout kWaterGasData[] = {
    {FieldKind::Amount, "Current cumulative flow", 2},
    {FieldKind::Amount, "Settlement date cumulative flow", 2},
    {FieldKind::RealTime, "Real time"},
    {FieldKind::Status, "Status"},
};

constexpr FieldLayout kHeatData[] = {
    {FieldKind::Amount, "Settlement date heat", 2},
    {FieldKind::Amount, "Current heat", 2},
    {FieldKind::Amount, "Heat power", 2},
    {FieldKind::Amount, "Flow", 4},
    {FieldKind::Amount, "Cumulative flow", 2},
    {FieldKind::Temperature, "Supply temperature"},
    {FieldKind::Temperature, "Return temperature"},
    {FieldKind::Hours, "Working hours"},
    {FieldKind::RealTime, "Real time"},
    {FieldKind::Status, "Status"},
};

// 8102: three price steps, each price good up to the volume after it.
constexpr FieldLayout kPriceTable[] = {
    {FieldKind::Price, "Price 1", 2}, {FieldKind::WholeVolume, "Volume limit of price 1"},
    {FieldKind::Price, "Price 2", 2}, {FieldKind::WholeVolume, "Volume limit of price 2"},
    {FieldKind::Price, "Price 3", 2},
};

constexpr FieldLayout kSettlementDayData[] = {{FieldKind::Day, "Settlement day"}};
constexpr FieldLayout kReadingDayData[] = {{FieldKind::Day, "Reading day"}};

// 8105: the purchase's number, its amount, all purchases, what is left, ST.
constexpr FieldLayout kPurchaseData[] = {
    {FieldKind::Count, "Purchase number"},
    {FieldKind::Money, "Purchase amount", 2},
    {FieldKind::Money, "Total purchased", 2},
    {FieldKind::Money, "Remaining amount", 2},
    {FieldKind::Status, "Status"},
};

// D120..D12B: one amount, the register on the settlement day 1..12 months back.
constexpr std::string_view kFlowMonthsAgo[] = {
    "Settlement date cumulative flow, 1 month ago",
    "Settlement date cumulative flow, 2 months ago",
    "Settlement date cumulative flow, 3 months ago",
    "Settlement date cumulative flow, 4 months ago",
    "Settlement date cumulative flow, 5 months ago",
    "Settlement date cumulative flow, 6 months ago",
    "Settlement date cumulative flow, 7 months ago",
    "Settlement date cumulative flow, 8 months ago",
    "Settlement date cumulative flow, 9 months ago",
    "Settlement date cumulative flow, 10 months ago",
    "Settlement date cumulative flow, 11 months ago",
    "Settlement date cumulative flow, 12 months ago",
};
constexpr std::string_view kHeatMonthsAgo[] = {
    "Settlement date heat, 1 month ago",   "Settlement date heat, 2 months ago",
    "Settlement date heat, 3 months ago",  "Settlement date heat, 4 months ago",
    "Settlement date heat, 5 months ago",  "Settlement date heat, 6 months ago",
    "Settlement date heat, 7 months ago",  "Settlement date heat, 8 months ago",
    "Settlement date heat, 9 months ago",  "Settlement date heat, 10 months ago",
    "Settlement date heat, 11 months ago", "Settlement date heat, 12 months ago",
};
static_assert(std::size(kFlowMonthsAgo) == kHistoryLast - kHistoryFirst + 1);
static_assert(std::size(kHeatMonthsAgo) == kHistoryLast - kHistoryFirst + 1);

// The status word gives three records, and bytes after the last field one more.
static_assert(std::size(kHeatData) + 2 + 1 <= kMaxCj188Records);
static_assert(std::size(kWaterGasData) + 2 + 1 <= kMaxCj188Records);

void addField(Cj188Values& v, const FieldLayout& field, std::size_t at, std::size_t size) {
    const Cj188Bytes bytes = v.frame.subspan(at, size);
    switch (field.kind) {
        case FieldKind::Amount:
            return cj188Amount(v.add(Cj188Field::Amount, field.quantity, at, size), bytes, field.decimals);
        case FieldKind::Temperature:
            return cj188Temperature(v.add(Cj188Field::Temperature, field.quantity, at, size), bytes);
        case FieldKind::Hours: return cj188Hours(v.add(Cj188Field::Hours, field.quantity, at, size), bytes);
        case FieldKind::RealTime:
            return cj188RealTime(v.add(Cj188Field::RealTime, field.quantity, at, size), bytes);
        case FieldKind::Status: return addCj188Status(v, at);
        case FieldKind::Price:
            return cj188Fixed(v.add(Cj188Field::Price, field.quantity, at, size), bytes,
                              field.decimals);
        case FieldKind::WholeVolume:
            return cj188Fixed(v.add(Cj188Field::WholeVolume, field.quantity, at, size), bytes, 0);
        case FieldKind::Day:
            return cj188Fixed(v.add(Cj188Field::DayOfMonth, field.quantity, at, size), bytes, 0);
        case FieldKind::Count: {
            Cj188Record& r = v.add(Cj188Field::PurchaseNumber, field.quantity, at, size);
            r.number = bytes[0];  // a binary count, as the peer libraries read it
            r.value = bytes[0];
            return;
        }
        case FieldKind::Money:
            return cj188Fixed(v.add(Cj188Field::Money, field.quantity, at, size), bytes,
                              field.decimals);
    }
}

// Walks the payload frame[at, end) field by field; a field the data ends
// inside becomes an error record holding what is left, and bytes past the
// last field are kept.
void decodeFields(Cj188Values& v, std::span<const FieldLayout> layout, std::size_t at, std::size_t end) {
    for (const FieldLayout& field : layout) {
        const std::size_t size = fieldSize(field.kind);
        if (end - at < size) {
            v.add(Cj188Field::Truncated, field.quantity, at, end - at).needed = static_cast<std::uint8_t>(size);
            return;
        }
        addField(v, field, at, size);
        at += size;
    }
    if (at < end) v.add(Cj188Field::Bytes, "Additional data", at, end - at);
}

// The identifiers this decoder knows: reads, and the writes A010..A019.
constexpr bool isKnownIdentifier(std::uint16_t di) {
    return di == kReadData || di == kReadAddress || (di >= kHistoryFirst && di <= kHistoryLast) ||
           (di >= kPrices && di <= kPurchase) || (di >= 0xA010 && di <= 0xA019);
}

// Most meters send the identifier high byte first (90 1F), the textbook frame
// sends it low byte first (1F 90). Known identifiers are recognised either
// way (low byte first wins); for others the byte with the high nibble 8 or
// above is taken as DI1.
std::uint16_t dataIdentifier(std::uint8_t first, std::uint8_t second) {
    const auto wire = static_cast<std::uint16_t>(first << 8 | second);
    const auto swapped = static_cast<std::uint16_t>(second << 8 | first);
    if (isKnownIdentifier(swapped)) return swapped;
    if (isKnownIdentifier(wire)) return wire;
    return (second >= 0x80 && first < 0x80) ? swapped : wire;
}

// The layout of a read answer other than 901F; empty when this decoder has none.
std::span<const FieldLayout> otherReadLayout(std::uint16_t di) {
    switch (di) {
        case kPrices:
            return kPriceTable;
        case kSettlementDay:
            return kSettlementDayData;
        case kReadingDay:
            return kReadingDayData;
        case kPurchase:
            return kPurchaseData;
        default:
            return {};
    }
}

// D12x: heat meters keep heat, the others the volume; the unit code says which.
void decodeHistory(Cj188Values& v, std::uint16_t di, std::size_t at, std::size_t end) {
    const std::size_t month = di - kHistoryFirst;
    const bool heat = cj188MeterFamily(v.frame[1]) == Cj188MeterFamily::Heat;
    const FieldLayout field{FieldKind::Amount, heat ? kHeatMonthsAgo[month] : kFlowMonthsAgo[month],
                            2};
    decodeFields(v, std::span(&field, 1), at, end);
}

// A017 request: one byte, 55 opens and 99 closes; control 2A is a vendor's
// forced form of it (seen in collector scripts), the byte means the same.
void addValveCommand(Cj188Values& v, std::size_t at, std::size_t end) {
    if (end - at != 1) {
        if (at < end) v.add(Cj188Field::Bytes, "Data", at, end - at);
        return;
    }
    v.add(Cj188Field::ValveCommand, "Valve command", at, 1).forced =
        v.frame[9] == kForcedValveControl;
}

// 810A: the address field itself is the answer: A0..A4 the meter number
// (ten digits, A4 first), A5 A6 the manufacturer code as the request page
// enters it (A5 first).
void addAddressRecords(Cj188Values& v) {
    v.add(Cj188Field::PlateAddress, "Address", kAddressAt, kAddressSize);
    v.add(Cj188Field::MeterNumber, "Meter number", kAddressAt, kAddressSize);
    v.add(Cj188Field::ManufacturerCode, "Manufacturer code", kAddressAt, kAddressSize);
}

// An error reply carries the serial number and the status word, nothing else.
void addErrorRecords(Cj188Values& v, std::size_t at, std::size_t size) {
    v.add(Cj188Field::ErrorReply, "Error reply", at, size);
    if (size == 3) {
        v.hasSequence = true;
        v.sequence = v.frame[at];
        addCj188Status(v, at + 1);
    }
}

void addData(Cj188Values& v, std::size_t at, std::size_t size) {
    const std::uint8_t control = v.frame[9];
    if (cj188IsErrorReply(control)) return addErrorRecords(v, at, size);
    if (size < 2) {
        if (size != 0) v.add(Cj188Field::Bytes, "Data", at, size);
        return;
    }
    const std::uint16_t di = dataIdentifier(v.frame[at], v.frame[at + 1]);
    v.hasDataIdentifier = true;
    v.dataIdentifier = di;
    if (size < 3) return;
    v.hasSequence = true;
    v.sequence = v.frame[at + 2];
    const std::size_t payload = at + 3, end = at + size;

    const bool readReply = cj188IsReply(control);
    const std::uint8_t function = cj188Function(control);
    if (readReply && function == 0x01 && di == kReadData) {
        switch (cj188MeterFamily(v.frame[1])) {
            case Cj188MeterFamily::Water:
            case Cj188MeterFamily::Gas: return decodeFields(v, kWaterGasData, payload, end);
            case Cj188MeterFamily::Heat: return decodeFields(v, kHeatData, payload, end);
            case Cj188MeterFamily::Other: break;
        }
    }
    if (readReply && function == 0x01 && di >= kHistoryFirst && di <= kHistoryLast)
        return decodeHistory(v, di, payload, end);
    if (readReply && function == 0x01 && !otherReadLayout(di).empty())
        return decodeFields(v, otherReadLayout(di), payload, end);
    const bool valveControl = control == 0x04 || control == kForcedValveControl;
    if (valveControl && di == kValve) return addValveCommand(v, payload, end);
    if (readReply && function == 0x03 && di == kReadAddress) {
        addAddressRecords(v);
        if (payload < end) v.add(Cj188Field::Bytes, "Additional data", payload, end - payload);
        return;
    }
    if (payload < end) v.add(Cj188Field::Bytes, "Data", payload, end - payload);
}

}  // namespace

void decodeCj188Values(std::span<const std::uint8_t> input, Cj188Values& v) {
    std::size_t start = 0;
    while (start < input.size() && input[start] == kWakeUp) ++start;
    v.frame = input.subspan(start);
    v.checkPassed = false;
    v.problem = Cj188Problem::None;
    v.hasHeader = v.hasDataIdentifier = v.hasSequence = false;
    v.recordCount = 0;
    const auto f = v.frame;
    if (f.empty()) {
        v.problem = Cj188Problem::NothingAfterWakeUp;
        return;
    }
    if (f[0] != kStart) {
        v.problem = Cj188Problem::NoStartByte;
        return;
    }
    if (f.size() < kHeaderSize) {
        v.problem = Cj188Problem::HeaderTooShort;
        return;
    }
    v.hasHeader = true;

    // A frame that fails its check says which bytes are wrong, as M-Bus does.
    const std::size_t length = f[10];
    if (f.size() < kHeaderSize + length + 2) {
        v.problem = Cj188Problem::LengthMismatch;
        return;
    }
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < kHeaderSize + length; ++i) sum = static_cast<std::uint8_t>(sum + f[i]);
    if (f[kHeaderSize + length] != sum) {
        v.problem = Cj188Problem::Checksum;
        v.computedSum = sum;
        return;
    }
    if (f[kHeaderSize + length + 1] != kStop) {
        v.problem = Cj188Problem::StopByte;
        return;
    }
    v.checkPassed = true;
    addData(v, kHeaderSize, length);
}

Reading decodeCj188Frame(std::span<const std::uint8_t> frame) {
    Cj188Values values;
    decodeCj188Values(frame, values);
    return readingOf(Cj188ReadingView(values));
}

}  // namespace mb
