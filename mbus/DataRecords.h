// Walks the data records of the variable data structure: DIF and DIFE chain,
// VIF block, then the data field, one MbusRecord each.
#pragma once

#include <cstddef>

#include "mbus/MbusValues.h"

namespace mb {

// Appends the records found in values.frame[begin, values.userDataEnd) and
// adds the "more records follow" header field when DIF 1F says so. Never
// reads outside those bytes. A record that cannot be decoded carries its
// problem and bytes; when its end cannot be found, the rest of the data
// becomes that one undecoded record.
void decodeDataRecords(MbusValues& values, std::size_t begin);

}  // namespace mb
