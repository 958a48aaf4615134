// The words of CJ/T 188 fields and header bytes, appended to a caller's buffer.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "cj188/Cj188Values.h"
#include "core/ReadingView.h"

namespace mb {

// "04 06 67": bytes as the received-data pane shows them.
void appendCj188Hex(std::string& out, std::span<const std::uint8_t> bytes);

// The plate number: A6 first, as printed on the meter ("78330011223344").
void appendPlateAddress(std::string& out, std::span<const std::uint8_t> address);

// Unit, value, display and error of one field record into `out`; texts that
// are not static go into `value` and `display`.
void describeCj188Field(const Cj188Values& values, const Cj188Record& record, RecordView& out,
                        std::string& value, std::string& display, bool withDisplay);

}  // namespace mb
