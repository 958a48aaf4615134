// What the session record keeps of an exchange beyond its summary text, as
// JSON members to follow it in the event's object, so that a record can be
// read back into a reading history:
//   , "verdict": "pass", "protocol": "mbus", "reply_us": 12345, "reading": {...}
// "reply_us" only with a reply time, "late": true only for a late answer,
// "reading" (see ReadingJson.h) only when a frame was decoded.
#pragma once

#include <string>

#include "core/ExchangeResult.h"

namespace mb {

std::string exchangeRecordMembers(const ExchangeResult& result);

}  // namespace mb
