// The numbers half of a record: from its decoded data field and the scale its
// VIF gives, how the value is shown, what is wrong with it, and its SI value.
#pragma once

#include <cstdint>
#include <span>

#include "mbus/DataField.h"
#include "mbus/MbusValues.h"
#include "mbus/VifTable.h"

namespace mb {

// From record.data and record.scale; `field` are the data bytes as sent
// (dates are read from them), `msbFirst` as in decodeFixedField.
void setRecordValue(MbusRecord& record, std::span<const std::uint8_t> field, bool msbFirst);

}  // namespace mb
