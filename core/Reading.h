// What a meter said, decoded: the protocol-neutral result both reply decoders
// produce and every view (the window's Data Analysis pane, the command line's
// text and JSON) prints. Values are kept in SI units so scripts can compare
// them; `display` keeps the meter's own scale for the technician.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace mb {

enum class RecordFunction : std::uint8_t { Instantaneous, Maximum, Minimum, Error, Manufacturer, Other };

// One header field: `key` is the JSON name ("id", "manufacturer"), `label` the
// words a technician reads ("Identification"). Numbers stay numbers in JSON.
struct HeaderField {
    std::string key;
    std::string label;
    std::variant<std::int64_t, std::string> value;
};

struct Record {
    std::string quantity;  // "Energy", "Flow temperature", "Date and time"
    RecordFunction function = RecordFunction::Instantaneous;
    std::uint64_t storage = 0;
    std::uint64_t tariff = 0;
    std::uint64_t subunit = 0;
    std::string unit;  // SI symbol: "Wh", "m^3", "°C"; "" when none
    // A number already scaled to `unit`, or a string for dates ("2026-12-08T01:19:00"),
    // identifiers, text and raw bytes (hex). Empty when the record failed to decode.
    std::variant<std::monostate, double, std::string> value;
    std::string display;    // value as the meter scales it: "4711 kWh", "65.2 °C", "2026-12-08 01:19"
    std::string error;      // non-empty: this record could not be decoded, and why
    std::string rawHex;     // the record's bytes ("04 06 67 12 00 00"), always set
};

struct Reading {
    std::string protocol;  // "mbus" or "cj188"
    bool checkPassed = false;
    std::string error;  // non-empty: the input is not a frame of this protocol
    std::vector<HeaderField> header;
    std::vector<Record> records;
    // Why a frame of this protocol failed its checks ("checksum 12 != computed 34").
    std::string checkProblem;
    // A good frame in which the meter says it could not carry out the request
    // (CJ/T 188: control code with D6 set): never shown as a data pass.
    bool meterError = false;
};

}  // namespace mb
