// The history of a page's finished exchanges, one row each: when it ended,
// its verdict, the reply time and the main quantities of its reading. The
// window's Reading History shows it, the command line's --csv writes it.
//
// Memory is bounded: past `capacity` rows (100,000 by default) the oldest row
// is dropped for each new one.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ExchangeResult.h"

namespace mb {

// A quantity as the reading's JSON names it: "Energy" in "Wh". Records of the
// same quantity in another unit make a column of their own.
struct HistoryColumn {
    std::string quantity;
    std::string unit;
    bool operator==(const HistoryColumn&) const = default;
};

struct HistoryRow {
    std::int64_t timeUs = 0;  // microseconds since the epoch (system clock)
    Verdict verdict = Verdict::NoReply;
    std::optional<std::int64_t> replyUs;
    // One value per column of the table, in its order; shorter when the row
    // came before a column was added. NaN: the reading had no such value.
    std::vector<double> values;

    std::optional<double> value(std::size_t column) const;
};

inline constexpr std::size_t kHistoryCapacity = 100'000;

class HistoryTable {
  public:
    // The table starts with the default columns of `protocol` ("mbus", "cj188").
    explicit HistoryTable(std::string_view protocol, std::size_t capacity = kHistoryCapacity);

    // Adds the row for `result`, ended at `time`; its quantities not yet
    // columns become new columns at the end. Returns whether the oldest row went.
    bool append(const ExchangeResult& result, std::chrono::system_clock::time_point time);
    // The same for a row already made (a session record read back).
    bool append(HistoryRow row);
    // The row `result` makes (its values in this table's columns, adding any new).
    HistoryRow rowFor(const ExchangeResult& result, std::chrono::system_clock::time_point time);
    void clear() { rows_.clear(); }
    void dropOldest() {
        if (!rows_.empty()) rows_.pop_front();
    }

    const std::deque<HistoryRow>& rows() const { return rows_; }
    const std::vector<HistoryColumn>& columns() const { return columns_; }
    std::size_t capacity() const { return capacity_; }
    // The column index of `column`, adding it when new.
    std::size_t columnIndex(const HistoryColumn& column);

    // What a technician watches first: energy, volume, power, flow and the
    // temperatures of an M-Bus heat meter; current and settlement-date flow of CJ/T 188.
    static std::vector<HistoryColumn> defaultColumns(std::string_view protocol);

  private:
    std::size_t capacity_;
    std::deque<HistoryRow> rows_;
    std::vector<HistoryColumn> columns_;
};

}  // namespace mb
