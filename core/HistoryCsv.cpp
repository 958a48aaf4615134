#include "core/HistoryCsv.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "core/ReadingJson.h"

namespace mb {

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

std::string isoLocalTimeNow() {
    using namespace std::chrono;
    return isoLocalTime(duration_cast<microseconds>(system_clock::now().time_since_epoch()).count());
}

std::string isoLocalTime(std::int64_t timeUs) {
    std::int64_t seconds = timeUs / 1'000'000;
    std::int64_t micros = timeUs % 1'000'000;
    if (micros < 0) micros += 1'000'000, --seconds;
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    const long offset = local.tm_gmtoff / 60;  // minutes east of UTC
    char out[64];
    std::snprintf(out, sizeof out, "%s.%06lld%c%02ld:%02ld", date, static_cast<long long>(micros),
                  offset < 0 ? '-' : '+', std::labs(offset) / 60, std::labs(offset) % 60);
    return out;
}

std::string historyCsvHeader(const HistoryTable& table, std::span<const std::size_t> shown) {
    std::string line = "time,verdict,reply_ms";
    for (std::size_t column : shown) {
        const HistoryColumn& c = table.columns().at(column);
        line += ',' + csvField(c.unit.empty() ? c.quantity : c.quantity + " [" + c.unit + "]");
    }
    return line + "\r\n";
}

std::string historyCsvRow(const HistoryRow& row, std::span<const std::size_t> shown) {
    std::string line = isoLocalTime(row.timeUs);
    line += ',';
    line += verdictName(row.verdict);
    line += ',';
    if (row.replyUs) line += jsonNumber(static_cast<double>(*row.replyUs) / 1000.0);
    for (std::size_t column : shown) {
        line += ',';
        if (const std::optional<double> value = row.value(column)) line += jsonNumber(*value);
    }
    return line + "\r\n";
}

}  // namespace mb
