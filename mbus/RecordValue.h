// Turns a decoded data field into a record's value, unit and display text as
// the VIF's meaning says.
#pragma once

#include <cstdint>
#include <span>

#include "core/Reading.h"
#include "mbus/DataField.h"
#include "mbus/VifTable.h"

namespace mb {

// `fieldBytes` are the data bytes as sent (for dates and raw hex); `msbFirst`
// as in decodeFixedField.
void fillRecordValue(Record& record, const ValueMeaning& meaning, const DataValue& data,
                     std::span<const std::uint8_t> fieldBytes, bool msbFirst);

}  // namespace mb
