// Walks the data records of the variable data structure: DIF and DIFE chain,
// VIF block, then the data field, one Record each.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/Reading.h"

namespace mb {

struct RecordOptions {
    bool msbFirst = false;    // multi-byte data high byte first (CI 76, 55)
    bool fromMaster = false;  // SND_UD: low VIFE codes are actions, not meter errors
};

struct RecordWalk {
    std::vector<Record> records;
    bool moreRecordsFollow = false;  // DIF 0x1F: the meter has more in the next telegram
};

// Never reads outside `data`. A record that cannot be decoded carries `error`
// and its bytes; when its end cannot be found, the rest of the data becomes
// that one error record.
RecordWalk decodeDataRecords(std::span<const std::uint8_t> data, const RecordOptions& options);

}  // namespace mb
