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

enum class FieldKind { Amount, Temperature, Hours, RealTime, Status };

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

// Most meters send the identifier high byte first (90 1F), the textbook frame
// sends it low byte first (1F 90). Known identifiers are recognised either
// way; for others the byte with the high nibble 8 or above is taken as DI1.
std::uint16_t dataIdentifier(std::uint8_t first, std::uint8_t second) {
    const auto wire = static_cast<std::uint16_t>(first << 8 | second);
    const auto swapped = static_cast<std::uint16_t>(second << 8 | first);
    if (swapped == kReadData || swapped == kReadAddress) return swapped;
    if (wire == kReadData || wire == kReadAddress) return wire;
    return (second >= 0x80 && first < 0x80) ? swapped : wire;
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
