// A decoded CJ/T 188 frame as numbers and codes: the header bytes, the data
// identifier and sequence, and one entry a field with its BCD number, SI
// value and where its bytes are. No text: Cj188ReadingView makes the words,
// hex and JSON when asked. The frame is read in place, not copied, and a
// frame has at most kMaxCj188Records fields, so decoding allocates nothing.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace mb {

enum class Cj188Problem : std::uint8_t {
    None,
    // Not a frame (Reading::error).
    NothingAfterWakeUp,
    NoStartByte,
    HeaderTooShort,
    // A frame that fails its check (Reading::checkProblem).
    LengthMismatch,
    Checksum,
    StopByte,
};

enum class Cj188Field : std::uint8_t {
    Amount,            // four BCD bytes and a unit code
    Temperature,       // three BCD bytes, 0.01 °C
    Hours,             // three BCD bytes of whole hours
    RealTime,          // seven BCD bytes of date and time
    Status,            // ST1 ST2
    Valve,             // ST1 bits 0-1
    Battery,           // ST1 bit 2
    Bytes,             // bytes no field takes, shown as hex
    Truncated,         // a field the data ends inside
    PlateAddress,      // 810A: the address as printed on the plate
    MeterNumber,       // 810A: A4..A0
    ManufacturerCode,  // 810A: A5 A6
    ErrorReply,        // the meter could not carry out the request
    Price,             // 8102: three BCD bytes, 0.01 yuan per m³
    WholeVolume,       // 8102: three BCD bytes of whole m³ (a price step's limit)
    DayOfMonth,        // 8103, 8104: one BCD byte
    PurchaseNumber,    // 8105: which purchase this is, one binary byte
    Money,             // 8105: four BCD bytes, 0.01 yuan
    ValveCommand,      // A017 request: 55 open, 99 close
};

enum class Cj188FieldProblem : std::uint8_t { None, InvalidBcd, NoTimeSet, NotCalendarTime };

struct Cj188Record {
    Cj188Field field = Cj188Field::Bytes;
    Cj188FieldProblem problem = Cj188FieldProblem::None;
    std::uint8_t decimals = 0;   // Amount: fraction digits of the register
    std::uint8_t needed = 0;     // Truncated: bytes the field needs
    bool yearFirst = false;      // RealTime: the meter sent the year first
    bool forced = false;         // ValveCommand: the vendor's forced form (control 2A)
    std::uint16_t at = 0;        // the field's bytes: frame[at, at + size)
    std::uint16_t size = 0;
    std::string_view quantity;   // static text
    std::uint64_t number = 0;    // the BCD number (Amount, Temperature, Hours, Price, ...)
    double value = 0;            // the value in SI units (yuan for Price and Money)
    std::uint16_t year = 0;      // RealTime
    std::uint8_t month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

inline constexpr std::size_t kMaxCj188Records = 16;

struct Cj188Values {
    std::span<const std::uint8_t> frame;  // from the start byte 68, wake-up bytes skipped
    bool checkPassed = false;
    Cj188Problem problem = Cj188Problem::None;
    std::uint8_t computedSum = 0;  // Checksum: what the bytes add up to
    bool hasHeader = false;        // the 11 header bytes are there (also when the check fails)
    bool hasDataIdentifier = false;
    std::uint16_t dataIdentifier = 0;
    bool hasSequence = false;
    std::uint8_t sequence = 0;
    std::array<Cj188Record, kMaxCj188Records> records{};
    std::size_t recordCount = 0;

    Cj188Record& add(Cj188Field field, std::string_view quantity, std::size_t at, std::size_t size) {
        Cj188Record& r = records[recordCount++];
        r = Cj188Record{};
        r.field = field;
        r.quantity = quantity;
        r.at = static_cast<std::uint16_t>(at);
        r.size = static_cast<std::uint16_t>(size);
        return r;
    }
    bool isFrameError() const {
        return problem >= Cj188Problem::NothingAfterWakeUp && problem <= Cj188Problem::HeaderTooShort;
    }
    bool isCheckProblem() const { return problem >= Cj188Problem::LengthMismatch; }
};

}  // namespace mb
