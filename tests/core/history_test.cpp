// Data Analysis's order, the reading history's rows and their CSV.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "core/ExchangeText.h"
#include "core/HistoryCsv.h"
#include "core/HistoryTable.h"
#include "tests/support/core/NumberRecord.h"

namespace mb {
namespace {

using namespace std::chrono_literals;

using test::numberRecord;

ExchangeResult passed(std::vector<Record> records, std::vector<HeaderField> header = {}) {
    ExchangeResult result;
    result.verdict = Verdict::Pass;
    result.replyTime = 12ms;
    result.reading.protocol = "mbus";
    result.reading.checkPassed = true;
    result.reading.header = std::move(header);
    result.reading.records = std::move(records);
    return result;
}

TEST(DataAnalysis, ReadingsComeBeforeTheHeaderWhichTakesFewLines) {
    Record stored = numberRecord("Energy", "Wh", 4200000, "4200 kWh");
    stored.storage = 1;
    const ExchangeResult result =
        passed({numberRecord("Energy", "Wh", 4711000, "4711 kWh"), stored},
               {{"frame", "Frame", std::string("RSP_UD")},
                {"c_field", "C field", std::string("08")},
                {"address", "Address", std::int64_t{16}},
                {"ci_field", "CI field", std::string("72")},
                {"id", "Identification", std::string("12345678")},
                {"manufacturer", "Manufacturer", std::string("SIM")}});
    EXPECT_EQ(resultLines(result), (std::vector<std::string>{
                                       "Check Pass\xEF\xBC\x81",
                                       "Reply in 12 ms",
                                       "Energy  4711 kWh",
                                       "Energy (storage 1)  4200 kWh",
                                       "Identification  12345678    Manufacturer  SIM    Address 10H (16)",
                                       "Frame  RSP_UD    C field  08    CI field  72",
                                   }));
    EXPECT_EQ(verdictLineCount(result), 2u);
}

// Only the plain current value of a number is a column; another unit is a column of its own.
TEST(HistoryTable, ColumnsAreThePlainCurrentNumbers) {
    Record maximum = numberRecord("Power", "W", 3980);
    maximum.function = RecordFunction::Maximum;
    Record tariff = numberRecord("Energy", "Wh", 1);
    tariff.tariff = 2;
    Record broken = numberRecord("Volume", "m^3", 5);
    broken.error = "reserved VIF";
    Record date;
    date.quantity = "Date and time";
    date.value = std::string("2026-12-08T01:19:00");

    HistoryTable table("mbus");
    const std::size_t defaults = table.columns().size();
    ASSERT_EQ(table.columns().at(0), (HistoryColumn{"Energy", "Wh"}));
    table.append(passed({maximum, tariff, broken, date, numberRecord("Energy", "Wh", 4711000),
                         numberRecord("Energy", "J", 17e9), numberRecord("Power", "W", 1500)}),
                 std::chrono::system_clock::time_point(1s));
    ASSERT_EQ(table.columns().size(), defaults + 1);
    EXPECT_EQ(table.columns().back(), (HistoryColumn{"Energy", "J"}));
    const HistoryRow& row = table.rows().at(0);
    EXPECT_EQ(row.value(0), 4711000.0);
    EXPECT_EQ(row.value(defaults), 17e9);
    EXPECT_EQ(row.value(2), 1500.0) << "the current power, not its maximum";
    EXPECT_EQ(row.value(1), std::nullopt) << "a volume that failed to decode";
    EXPECT_EQ(row.replyUs, 12000);
}

TEST(HistoryTable, PastItsCapacityTheOldestRowsGo) {
    HistoryTable table("cj188", 3);
    for (int s = 1; s <= 5; ++s) {
        ExchangeResult silent;
        table.append(silent, std::chrono::system_clock::time_point(std::chrono::seconds(s)));
    }
    ASSERT_EQ(table.rows().size(), 3u);
    EXPECT_EQ(table.rows().front().timeUs, 3'000'000);
    EXPECT_EQ(table.rows().back().timeUs, 5'000'000);
}

TEST(HistoryCsv, FieldsAreQuotedOnlyWhenTheyMustBe) {
    const std::pair<const char*, const char*> cases[] = {
        {"Energy [Wh]", "Energy [Wh]"},  {"a,b", "\"a,b\""},   {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""}, {"cr\r", "\"cr\r\""}, {"", ""},
    };
    for (const auto& [text, field] : cases) EXPECT_EQ(csvField(text), field) << text;
}

TEST(HistoryCsv, RowsCarryLocalTimeWithItsZoneAndEmptyCellsForMissingValues) {
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    const std::int64_t t = 1796692740123456;  // 2026-12-08T01:19:00.123456Z
    const std::pair<const char*, const char*> zones[] = {
        {"Asia/Shanghai", "2026-12-08T09:19:00.123456+08:00"},
        {"America/St_Johns", "2026-12-07T21:49:00.123456-03:30"},
        {"UTC", "2026-12-08T01:19:00.123456+00:00"},
    };
    for (const auto& [zone, text] : zones) {
        setenv("TZ", zone, 1);
        tzset();
        EXPECT_EQ(isoLocalTime(t), text) << zone;
    }

    HistoryTable table("cj188");
    const std::vector<std::size_t> shown{1, 0};
    HistoryRow answered{t, Verdict::Pass, 12345, {12.5, 3}};
    HistoryRow silent{t + 1'000'000, Verdict::NoReply, std::nullopt, {}};
    EXPECT_EQ(historyCsvHeader(table, shown),
              "time,verdict,reply_ms,Settlement date cumulative flow [m^3],Current cumulative flow [m^3]\r\n");
    EXPECT_EQ(historyCsvRow(answered, shown), "2026-12-08T01:19:00.123456+00:00,pass,12.345,3,12.5\r\n");
    EXPECT_EQ(historyCsvRow(silent, shown), "2026-12-08T01:19:01.123456+00:00,no-reply,,,\r\n");
    if (old) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
    tzset();
}

}  // namespace
}  // namespace mb
