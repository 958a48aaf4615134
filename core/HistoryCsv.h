// The reading history as CSV (RFC 4180: CRLF line ends, fields quoted when
// they hold a comma, quote or line break), the same for the window's
// "Save as CSV…" and the command line's --csv:
//   time,verdict,reply_ms,Energy [Wh],Volume [m^3]
//   2026-12-08T09:45:12.345678+01:00,pass,12.4,4711000,1234.56
// Units are the SI units of the reading's JSON; times are local with their zone.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/HistoryTable.h"

namespace mb {

std::string csvField(std::string_view text);
// "2026-12-08T09:45:12.345678+01:00": local time with its offset from UTC.
std::string isoLocalTime(std::int64_t timeUs);
std::string isoLocalTimeNow();

// The header row for the table's columns `shown` (indexes into columns()).
std::string historyCsvHeader(const HistoryTable& table, std::span<const std::size_t> shown);
std::string historyCsvRow(const HistoryRow& row, std::span<const std::size_t> shown);

}  // namespace mb
