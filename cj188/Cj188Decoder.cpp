#include "cj188/Cj188Decoder.h"

#include <string>
#include <string_view>

#include "cj188/Cj188Fields.h"
#include "cj188/Cj188Names.h"
#include "core/CountText.h"

namespace mb {
namespace {

constexpr std::uint8_t kStart = 0x68;
constexpr std::uint8_t kStop = 0x16;
constexpr std::uint8_t kWakeUp = 0xFE;
constexpr std::size_t kHeaderSize = 11;  // 68 T A0..A6 C L

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

void addField(std::vector<Record>& records, const FieldLayout& field, Cj188Bytes bytes) {
    switch (field.kind) {
        case FieldKind::Amount: records.push_back(cj188Amount(bytes, field.quantity, field.decimals)); return;
        case FieldKind::Temperature: records.push_back(cj188Temperature(bytes, field.quantity)); return;
        case FieldKind::Hours: records.push_back(cj188Hours(bytes, field.quantity)); return;
        case FieldKind::RealTime: records.push_back(cj188RealTime(bytes, field.quantity)); return;
        case FieldKind::Status:
            for (Record& r : cj188Status(bytes)) records.push_back(std::move(r));
            return;
    }
}

// Walks `payload` field by field; a field the data ends inside becomes an
// error record holding what is left, and bytes past the last field are kept.
void decodeFields(std::span<const FieldLayout> layout, Cj188Bytes payload, std::vector<Record>& records) {
    for (const FieldLayout& field : layout) {
        const std::size_t size = fieldSize(field.kind);
        if (payload.size() < size) {
            Record cut = cj188RawRecord(payload, field.quantity);
            cut.value = std::monostate{};
            cut.display.clear();
            cut.error = "truncated: " + std::to_string(payload.size()) + " of " + countText(size, "byte");
            records.push_back(std::move(cut));
            return;
        }
        addField(records, field, payload.first(size));
        payload = payload.subspan(size);
    }
    if (!payload.empty()) records.push_back(cj188RawRecord(payload, "Additional data"));
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

std::string hexWord(std::uint16_t word) {
    const std::uint8_t bytes[] = {static_cast<std::uint8_t>(word >> 8), static_cast<std::uint8_t>(word)};
    std::string text = cj188HexText(bytes);
    text.erase(2, 1);
    return text;
}

// The plate number: A6 first, as printed on the meter.
std::string plateAddress(Cj188Bytes address) {
    std::string text;
    for (auto it = address.rbegin(); it != address.rend(); ++it) text += cj188HexText({&*it, 1});
    return text;
}

void addHeader(Reading& reading, Cj188Bytes frame) {
    const std::uint8_t type = frame[1];
    const std::uint8_t control = frame[9];
    auto add = [&](const char* key, const char* label, std::variant<std::int64_t, std::string> value) {
        reading.header.push_back({key, label, std::move(value)});
    };
    add("meter_type", "Meter type", cj188HexText(frame.subspan(1, 1)));
    add("medium", "Medium", cj188MeterTypeText(type));
    add("address", "Address", plateAddress(frame.subspan(2, 7)));
    add("control", "Control code", cj188HexText(frame.subspan(9, 1)));
    add("command", "Command", cj188ControlText(control));
}

// 810A: the address field itself is the answer: A0..A4 the meter number
// (ten digits, A4 first), A5 A6 the manufacturer code as the request page
// enters it (A5 first).
void addAddressRecords(Reading& reading, Cj188Bytes frame) {
    const Cj188Bytes address = frame.subspan(2, 7);
    const std::pair<const char*, std::string> parts[] = {
        {"Address", plateAddress(address)},
        {"Meter number", plateAddress(address.first(5))},
        {"Manufacturer code", cj188HexText(address.subspan(5, 1)) + cj188HexText(address.subspan(6, 1))},
    };
    for (const auto& [quantity, text] : parts) {
        Record record = cj188RawRecord(address, quantity);
        record.value = text;
        record.display = text;
        reading.records.push_back(std::move(record));
    }
}

// An error reply carries the serial number and the status word, nothing else.
void addErrorRecords(Reading& reading, Cj188Bytes data) {
    Record summary = cj188RawRecord(data, "Error reply");
    summary.display = "the meter could not carry out the request";
    reading.records.push_back(std::move(summary));
    if (data.size() == 3) {
        reading.header.push_back({"ser", "Sequence", std::int64_t{data[0]}});
        for (Record& r : cj188Status(data.subspan(1, 2))) reading.records.push_back(std::move(r));
    }
}

void addData(Reading& reading, Cj188Bytes frame, Cj188Bytes data) {
    const std::uint8_t control = frame[9];
    if (cj188IsErrorReply(control)) return addErrorRecords(reading, data);
    if (data.size() < 2) {
        if (!data.empty()) reading.records.push_back(cj188RawRecord(data, "Data"));
        return;
    }
    const std::uint16_t di = dataIdentifier(data[0], data[1]);
    reading.header.push_back({"di", "Data identifier", hexWord(di)});
    if (data.size() < 3) return;
    reading.header.push_back({"ser", "Sequence", std::int64_t{data[2]}});
    const Cj188Bytes payload = data.subspan(3);

    const bool readReply = cj188IsReply(control);
    const std::uint8_t function = cj188Function(control);
    if (readReply && function == 0x01 && di == kReadData) {
        switch (cj188MeterFamily(frame[1])) {
            case Cj188MeterFamily::Water:
            case Cj188MeterFamily::Gas: return decodeFields(kWaterGasData, payload, reading.records);
            case Cj188MeterFamily::Heat: return decodeFields(kHeatData, payload, reading.records);
            case Cj188MeterFamily::Other: break;
        }
    }
    if (readReply && function == 0x03 && di == kReadAddress) {
        addAddressRecords(reading, frame);
        if (!payload.empty()) reading.records.push_back(cj188RawRecord(payload, "Additional data"));
        return;
    }
    if (!payload.empty()) reading.records.push_back(cj188RawRecord(payload, "Data"));
}

}  // namespace

Reading decodeCj188Frame(std::span<const std::uint8_t> input) {
    Reading reading;
    reading.protocol = "cj188";
    std::size_t start = 0;
    while (start < input.size() && input[start] == kWakeUp) ++start;
    const Cj188Bytes frame = input.subspan(start);
    if (frame.empty()) {
        reading.error = "no frame: nothing after the wake-up bytes";
        return reading;
    }
    if (frame[0] != kStart) {
        reading.error = "no frame: starts with " + cj188HexText(frame.first(1)) + ", not 68";
        return reading;
    }
    if (frame.size() < kHeaderSize) {
        reading.error = "no frame: " + countText(frame.size(), "byte") + ", a header needs 11";
        return reading;
    }
    addHeader(reading, frame);

    // A frame that fails its check says which bytes are wrong, as M-Bus does.
    const std::size_t length = frame[10];
    const std::size_t whole = kHeaderSize + length + 2;
    if (frame.size() < whole) {
        reading.checkProblem = "length byte says " + countText(whole, "byte") + ", frame has " +
                               std::to_string(frame.size());
        return reading;
    }
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < kHeaderSize + length; ++i) sum = static_cast<std::uint8_t>(sum + frame[i]);
    if (frame[kHeaderSize + length] != sum) {
        reading.checkProblem = "checksum " + cj188HexText(frame.subspan(kHeaderSize + length, 1)) +
                               " != computed " + cj188HexText(std::span<const std::uint8_t>(&sum, 1));
        return reading;
    }
    if (frame[kHeaderSize + length + 1] != kStop) {
        reading.checkProblem = "stop byte is " + cj188HexText(frame.subspan(kHeaderSize + length + 1, 1)) +
                               ", not 16";
        return reading;
    }

    reading.checkPassed = true;
    addData(reading, frame, frame.subspan(kHeaderSize, length));
    return reading;
}

}  // namespace mb
