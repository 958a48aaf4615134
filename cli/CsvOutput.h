// --csv: the rows the window's Reading History saves (core/HistoryCsv.h),
// with the protocol's default columns, the header before the first row.
#pragma once

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/HistoryTable.h"

namespace mb::cli {

class CsvOutput {
  public:
    explicit CsvOutput(std::ostream& out) : out_(out) {}

    // Writes the row of `result` (its protocol's columns; a monitor's first
    // decoded answer decides them). Rows of another protocol are left out.
    void write(const ExchangeResult& result, std::string_view protocol,
               std::chrono::system_clock::time_point time = std::chrono::system_clock::now());

  private:
    std::ostream& out_;
    std::optional<HistoryTable> table_;
    std::string protocol_;
    std::vector<std::size_t> columns_;
};

}  // namespace mb::cli
