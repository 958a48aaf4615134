#include "core/HistoryTable.h"

#include <cmath>
#include <limits>
#include <variant>

namespace mb {
namespace {

// Only the plain current value of a quantity is a column: no storage, tariff,
// subunit or maximum.
bool isPlainNumber(const Record& record) {
    return record.error.empty() && record.function == RecordFunction::Instantaneous && record.storage == 0 &&
           record.tariff == 0 && record.subunit == 0 && std::holds_alternative<double>(record.value);
}

}  // namespace

std::optional<double> HistoryRow::value(std::size_t column) const {
    if (column >= values.size() || std::isnan(values[column])) return std::nullopt;
    return values[column];
}

HistoryTable::HistoryTable(std::string_view protocol, std::size_t capacity)
    : capacity_(capacity == 0 ? 1 : capacity), columns_(defaultColumns(protocol)) {}

std::vector<HistoryColumn> HistoryTable::defaultColumns(std::string_view protocol) {
    if (protocol == "mbus")
        return {{"Energy", "Wh"},           {"Volume", "m^3"},           {"Power", "W"},
                {"Volume flow", "m^3/h"},   {"Flow temperature", "°C"}, {"Return temperature", "°C"}};
    if (protocol == "cj188")
        return {{"Current cumulative flow", "m^3"}, {"Settlement date cumulative flow", "m^3"}};
    return {};
}

std::size_t HistoryTable::columnIndex(const HistoryColumn& column) {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i] == column) return i;
    columns_.push_back(column);
    return columns_.size() - 1;
}

HistoryRow HistoryTable::rowFor(const ExchangeResult& result, std::chrono::system_clock::time_point time) {
    HistoryRow row;
    row.timeUs = std::chrono::duration_cast<std::chrono::microseconds>(time.time_since_epoch()).count();
    row.verdict = result.verdict;
    if (result.replyTime) row.replyUs = result.replyTime->count();
    for (const Record& record : result.reading.records) {
        if (!isPlainNumber(record)) continue;
        const std::size_t column = columnIndex({record.quantity, record.unit});
        if (row.values.size() <= column)
            row.values.resize(column + 1, std::numeric_limits<double>::quiet_NaN());
        if (std::isnan(row.values[column])) row.values[column] = std::get<double>(record.value);
    }
    return row;
}

bool HistoryTable::append(const ExchangeResult& result, std::chrono::system_clock::time_point time) {
    return append(rowFor(result, time));
}

bool HistoryTable::append(HistoryRow row) {
    row.values.shrink_to_fit();
    rows_.push_back(std::move(row));
    if (rows_.size() <= capacity_) return false;
    rows_.pop_front();
    return true;
}

}  // namespace mb
