// The CJ/T 188 decoder against frames written by hand from the reply layouts
// and against the real frames in the shared testdata folder.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "cj188/Cj188Decoder.h"
#include "tests/support/core/RealFrames.h"
#include "tests/support/core/RequireRealFrames.h"

namespace mb {
namespace {

using Bytes = std::vector<std::uint8_t>;

// 68 T A0..A6 C L DATA CS 16, with the checksum summed here, not by the decoder.
Bytes frameOf(std::uint8_t type, const Bytes& address, std::uint8_t control, const Bytes& data) {
    Bytes f{0x68, type};
    f.insert(f.end(), address.begin(), address.end());
    f.push_back(control);
    f.push_back(static_cast<std::uint8_t>(data.size()));
    f.insert(f.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (std::uint8_t b : f) sum += b;
    f.push_back(static_cast<std::uint8_t>(sum % 256));
    f.push_back(0x16);
    return f;
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

const Bytes kAddress{0x78, 0x56, 0x34, 0x12, 0x00, 0x33, 0x78};  // plate 78330012345678

std::string headerText(const Reading& r, const std::string& key) {
    for (const HeaderField& f : r.header) {
        if (f.key != key) continue;
        if (const auto* s = std::get_if<std::string>(&f.value)) return *s;
        return std::to_string(std::get<std::int64_t>(f.value));
    }
    return "<missing " + key + ">";
}

const Record* findRecord(const Reading& r, const std::string& quantity) {
    for (const Record& rec : r.records) {
        if (rec.quantity == quantity) return &rec;
    }
    return nullptr;
}

// One expected record: a number (with unit) or a text value, and its display.
struct Expect {
    std::string quantity;
    std::string unit;
    std::variant<double, std::string> value;
    std::string display;  // not checked when empty
};

void expectRecords(const Reading& r, const std::vector<Expect>& rows) {
    for (const Expect& e : rows) {
        const Record* rec = findRecord(r, e.quantity);
        ASSERT_NE(rec, nullptr) << e.quantity;
        EXPECT_EQ(rec->error, "") << e.quantity;
        EXPECT_EQ(rec->unit, e.unit) << e.quantity;
        if (!e.display.empty()) {
            EXPECT_EQ(rec->display, e.display) << e.quantity;
        }
        if (const auto* number = std::get_if<double>(&e.value)) {
            ASSERT_TRUE(std::holds_alternative<double>(rec->value)) << e.quantity;
            EXPECT_DOUBLE_EQ(std::get<double>(rec->value), *number) << e.quantity;
        } else {
            ASSERT_TRUE(std::holds_alternative<std::string>(rec->value)) << e.quantity;
            EXPECT_EQ(std::get<std::string>(rec->value), std::get<std::string>(e.value)) << e.quantity;
        }
    }
}

// Water meter, 901F sent low byte first as in the textbook, sequence 05.
Bytes waterReply() {
    return frameOf(0x10, kAddress, 0x81,
                   concat({{0x1F, 0x90, 0x05},
                           {0x56, 0x34, 0x12, 0x00, 0x2C},                // 1234.56 m³
                           {0x00, 0x90, 0x78, 0x00, 0x29},                // 7890.00 L
                           {0x59, 0x58, 0x23, 0x31, 0x12, 0x26, 0x20},    // 2026-12-31 23:58:59
                           {0x05, 0x80}}));                               // valve closed, battery low
}

TEST(Cj188Decoder, WaterMeterReadDataReply) {
    const Bytes frame = concat({{0xFE, 0xFE, 0xFE}, waterReply()});
    const Reading r = decodeCj188Frame(frame);
    ASSERT_TRUE(r.checkPassed);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.protocol, "cj188");
    EXPECT_EQ(headerText(r, "meter_type"), "10");
    EXPECT_EQ(headerText(r, "address"), "78330012345678");
    EXPECT_EQ(headerText(r, "control"), "81");
    EXPECT_EQ(headerText(r, "di"), "901F");
    EXPECT_EQ(headerText(r, "ser"), "5");
    expectRecords(r, {
                         {"Current cumulative flow", "m^3", 1234.56, "1234.56 m³"},
                         {"Settlement date cumulative flow", "m^3", 7.89, "7890.00 L"},
                         {"Real time", "", std::string("2026-12-31T23:58:59"), "2026-12-31 23:58:59"},
                         {"Valve", "", std::string("closed"), "closed"},
                         {"Battery", "", std::string("low"), "low"},
                     });
    ASSERT_NE(findRecord(r, "Status"), nullptr);
    EXPECT_EQ(findRecord(r, "Status")->rawHex, "05 80");
}

TEST(Cj188Decoder, HeatMeterReadDataReply) {
    // 901F high byte first, as most meters send it.
    const Bytes frame = frameOf(0x20, kAddress, 0x81,
                                concat({{0x90, 0x1F, 0x00},
                                        {0x45, 0x23, 0x01, 0x00, 0x05},  // settlement heat 123.45 kWh
                                        {0x50, 0x12, 0x00, 0x00, 0x11},  // current heat 12.50 GJ
                                        {0x00, 0x25, 0x00, 0x00, 0x17},  // power 25.00 kW
                                        {0x00, 0x50, 0x12, 0x00, 0x35},  // flow 12.5000 m³/h
                                        {0x10, 0x89, 0x67, 0x00, 0x2C},  // cumulative 6789.10 m³
                                        {0x20, 0x65, 0x00},              // supply 65.20 °C
                                        {0x05, 0x42, 0x00},              // return 42.05 °C
                                        {0x34, 0x12, 0x00},              // 1234 h
                                        {0x00, 0x19, 0x01, 0x08, 0x12, 0x26, 0x20},
                                        {0x03, 0x00}}));
    ASSERT_EQ(frame[10], 0x2E) << "the heat reply carries 46 data bytes";
    const Reading r = decodeCj188Frame(frame);
    ASSERT_TRUE(r.checkPassed);
    expectRecords(r, {
                         {"Settlement date heat", "Wh", 123450.0, "123.45 kWh"},
                         {"Current heat", "J", 12.5e9, "12.50 GJ"},
                         {"Heat power", "W", 25000.0, "25.00 kW"},
                         {"Flow", "m^3/h", 12.5, "12.5000 m³/h"},
                         {"Cumulative flow", "m^3", 6789.10, "6789.10 m³"},
                         {"Supply temperature", "°C", 65.20, "65.20 °C"},
                         {"Return temperature", "°C", 42.05, "42.05 °C"},
                         {"Working hours", "s", 1234.0 * 3600, "1234 h"},
                         {"Real time", "", std::string("2026-12-08T01:19:00"), "2026-12-08 01:19:00"},
                         {"Valve", "", std::string("abnormal"), "abnormal"},
                         {"Battery", "", std::string("normal"), "normal"},
                     });
    EXPECT_EQ(findRecord(r, "Additional data"), nullptr);
}

TEST(Cj188Decoder, ReadAddressReplyNamesMeterNumberAndMaker) {
    const Bytes address{0x44, 0x33, 0x22, 0x11, 0x00, 0x33, 0x78};
    const Reading r = decodeCj188Frame(frameOf(0x10, address, 0x83, {0x0A, 0x81, 0x02}));
    ASSERT_TRUE(r.checkPassed);
    EXPECT_EQ(headerText(r, "di"), "810A");
    EXPECT_EQ(headerText(r, "ser"), "2");
    expectRecords(r, {
                         {"Address", "", std::string("78330011223344"), "78330011223344"},
                         {"Meter number", "", std::string("0011223344"), "0011223344"},
                         {"Manufacturer code", "", std::string("3378"), "3378"},
                     });
}

TEST(Cj188Decoder, ErrorRepliesAndOtherCommandsAreNotReadAsData) {
    const Reading r = decodeCj188Frame(frameOf(0x10, kAddress, 0xC1, {0x07, 0x03, 0x00}));
    ASSERT_TRUE(r.checkPassed);
    EXPECT_EQ(headerText(r, "command"), "Read data error reply");
    EXPECT_EQ(headerText(r, "ser"), "7");
    ASSERT_NE(findRecord(r, "Error reply"), nullptr);
    expectRecords(r, {{"Valve", "", std::string("abnormal"), "abnormal"}});

    // A write-address request: the new address after DI and SER stays raw.
    const Reading w = decodeCj188Frame(frameOf(0x10, kAddress, 0x15, {0xA0, 0x18, 0x00, 0x01, 0x02, 0x03}));
    ASSERT_TRUE(w.checkPassed);
    EXPECT_EQ(headerText(w, "di"), "A018");
    ASSERT_EQ(w.records.size(), 1u);
    EXPECT_EQ(w.records[0].rawHex, "01 02 03");
}

// Frames that must not pass: `isFrame` false means the input is not even a
// frame (error set), true means a frame whose check fails (header kept).
TEST(Cj188Decoder, FaultyFramesNeverPassAndGiveNoRecords) {
    const Bytes good = waterReply();
    Bytes badSum = good;
    badSum[badSum.size() - 2] ^= 0x01;
    Bytes badStop = good;
    badStop.back() = 0x17;
    Bytes cut(good.begin(), good.end() - 3);
    Bytes noStart = good;
    noStart[0] = 0x69;
    // What is wrong, named by its bytes as the M-Bus decoder names them; the
    // good frame's checksum is 5D, its 22 data bytes make it 35 bytes long.
    const struct {
        const char* name;
        Bytes bytes;
        const char* said;  // checkProblem of a frame, or error of no frame
        bool isFrame;
    } cases[] = {
        {"checksum off by one", badSum, "checksum 5C != computed 5D", true},
        {"wrong stop byte", badStop, "stop byte is 17, not 16", true},
        {"cut inside the data", cut, "length byte says 35 bytes, frame has 32", true},
        {"no start byte", noStart, "no frame: starts with 69, not 68", false},
        {"empty", {}, "no frame: nothing after the wake-up bytes", false},
        {"wake-up bytes only", {0xFE, 0xFE, 0xFE}, "no frame: nothing after the wake-up bytes", false},
        {"header cut short", {0xFE, 0x68, 0x10, 0x01, 0x02}, "no frame: 4 bytes, a header needs 11", false},
        {"start byte alone", {0x68}, "no frame: 1 byte, a header needs 11", false},
    };
    for (const auto& c : cases) {
        const Reading r = decodeCj188Frame(c.bytes);
        EXPECT_FALSE(r.checkPassed) << c.name;
        EXPECT_TRUE(r.records.empty()) << c.name;
        EXPECT_EQ(r.error.empty(), c.isFrame) << c.name << ": " << r.error;
        EXPECT_EQ(c.isFrame ? r.checkProblem : r.error, c.said) << c.name;
        if (c.isFrame) {
            EXPECT_EQ(headerText(r, "address"), "78330012345678") << c.name;
        }
    }
}

TEST(Cj188Decoder, ShortDataEndsInATruncatedRecord) {
    // A water reply whose length byte covers only 3 bytes of the second amount.
    const Reading r = decodeCj188Frame(
        frameOf(0x10, kAddress, 0x81, {0x90, 0x1F, 0x00, 0x56, 0x34, 0x12, 0x00, 0x2C, 0x11, 0x22, 0x33}));
    ASSERT_TRUE(r.checkPassed);
    ASSERT_EQ(r.records.size(), 2u);
    EXPECT_EQ(r.records[0].error, "");
    EXPECT_EQ(r.records[1].quantity, "Settlement date cumulative flow");
    EXPECT_NE(r.records[1].error.find("truncated"), std::string::npos) << r.records[1].error;
    EXPECT_EQ(r.records[1].rawHex, "11 22 33");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(r.records[1].value));
}

TEST(Cj188Decoder, InvalidDigitsSpoilOnlyTheirRecord) {
    Bytes data = concat({{0x90, 0x1F, 0x00},
                         {0x5A, 0x34, 0x12, 0x00, 0x2C},
                         {0x00, 0x00, 0x00, 0x00, 0x2C},
                         {0x00, 0x00, 0x00, 0x32, 0x13, 0x26, 0x20},  // day 32
                         {0x00, 0x00}});
    const Reading r = decodeCj188Frame(frameOf(0x10, kAddress, 0x81, data));
    ASSERT_TRUE(r.checkPassed);
    const Record* current = findRecord(r, "Current cumulative flow");
    ASSERT_NE(current, nullptr);
    EXPECT_NE(current->error, "");
    EXPECT_EQ(current->rawHex, "5A 34 12 00 2C");
    ASSERT_NE(findRecord(r, "Real time"), nullptr);
    EXPECT_NE(findRecord(r, "Real time")->error, "");
    expectRecords(r, {{"Settlement date cumulative flow", "m^3", 0.0, "0.00 m³"}});
}

// The real-time field in the textbook order (second first) and as some meters
// send it, year first. Year first is read only when the textbook order is no
// calendar date; a date that neither order makes is refused.
TEST(Cj188Decoder, RealTimeInEitherByteOrder) {
    const struct {
        Bytes field;
        const char* iso;  // nullptr: refused
        const char* display;
    } rows[] = {
        {{0x59, 0x58, 0x23, 0x31, 0x12, 0x26, 0x20}, "2026-12-31T23:58:59", "2026-12-31 23:58:59"},
        // Both orders are dates here (year-first: 0019-01-08): the textbook one wins.
        {{0x00, 0x19, 0x01, 0x08, 0x12, 0x26, 0x20}, "2026-12-08T01:19:00", "2026-12-08 01:19:00"},
        {{0x20, 0x20, 0x05, 0x28, 0x20, 0x58, 0x24}, "2020-05-28T20:58:24", "2020-05-28 20:58:24 (sent year first)"},
        {{0x20, 0x24, 0x02, 0x29, 0x15, 0x00, 0x00}, "2024-02-29T15:00:00", "2024-02-29 15:00:00 (sent year first)"},
        {{0x20, 0x26, 0x02, 0x29, 0x15, 0x00, 0x00}, nullptr, nullptr},  // 2026 is no leap year
        {{0x20, 0x26, 0x04, 0x31, 0x15, 0x00, 0x00}, nullptr, nullptr},  // April has 30 days
        {{0x00, 0x00, 0x00, 0x32, 0x13, 0x26, 0x20}, nullptr, nullptr},  // day 32 either way
    };
    for (const auto& row : rows) {
        const Bytes data = concat({{0x1F, 0x90, 0x05},
                                   {0x56, 0x34, 0x12, 0x00, 0x2C},
                                   {0x00, 0x90, 0x78, 0x00, 0x29},
                                   row.field,
                                   {0x00, 0x00}});
        const Reading r = decodeCj188Frame(frameOf(0x10, kAddress, 0x81, data));
        const Record* time = findRecord(r, "Real time");
        ASSERT_NE(time, nullptr);
        SCOPED_TRACE(time->rawHex);
        if (row.iso == nullptr) {
            EXPECT_EQ(time->error, "not a calendar date and time");
            continue;
        }
        EXPECT_EQ(time->error, "");
        ASSERT_TRUE(std::holds_alternative<std::string>(time->value));
        EXPECT_EQ(std::get<std::string>(time->value), row.iso);
        EXPECT_EQ(time->display, row.display);
    }
}

// The amount 12.34 under each unit code: SI value and the meter's own symbol.
TEST(Cj188Decoder, UnitCodesScaleToSi) {
    const struct {
        std::uint8_t code;
        const char* unit;
        double value;
        const char* display;
    } cases[] = {
        {0x02, "Wh", 12.34, "12.34 Wh"},
        {0x05, "Wh", 12340.0, "12.34 kWh"},
        {0x08, "Wh", 12.34e6, "12.34 MWh"},
        {0x0A, "Wh", 12.34e8, "12.34 MWh×100"},
        {0x0E, "J", 12.34e6, "12.34 MJ"},
        {0x13, "J", 12.34e11, "12.34 GJ×100"},
        {0x1A, "W", 12.34e6, "12.34 MW"},
        {0x29, "m^3", 0.01234, "12.34 L"},
        {0x32, "m^3/h", 0.01234, "12.34 L/h"},
        {0x7F, "", 12.34, "12.34 (unknown unit code 7F)"},
    };
    for (const auto& c : cases) {
        const Reading r = decodeCj188Frame(frameOf(
            0x10, kAddress, 0x81,
            concat({{0x90, 0x1F, 0x00}, {0x34, 0x12, 0x00, 0x00, c.code}, {0, 0, 0, 0, 0x2C}, Bytes(7, 0), {0, 0}})));
        SCOPED_TRACE(c.display);
        expectRecords(r, {{"Current cumulative flow", c.unit, c.value, c.display}});
    }
}

TEST(Cj188Decoder, EveryPrefixOfAFrameIsRejected) {
    const Bytes full = waterReply();
    for (std::size_t n = 0; n < full.size(); ++n) {
        const Reading r = decodeCj188Frame(std::span(full.data(), n));
        EXPECT_FALSE(r.checkPassed) << n;
        EXPECT_TRUE(r.records.empty()) << n;
    }
    EXPECT_TRUE(decodeCj188Frame(full).checkPassed);
}

// Reads beyond 901F, laid out as two peer libraries read them (a C# frame
// explainer and a PHP collector): D12x one amount, 8102 price/volume steps,
// 8103/8104 one BCD day, 8105 number, three sums of money and ST. Every
// identifier comes in both byte orders and decodes the same.
TEST(Cj188Decoder, OtherReadAnswersDecodeInEitherIdentifierOrder) {
    const struct {
        const char* name;
        std::uint8_t type;
        Bytes di;  // low byte first; each row also runs with the two swapped
        Bytes payload;
        const char* diText;
        std::vector<Expect> records;
    } rows[] = {
        {"last month, water",
         0x10,
         {0x20, 0xD1},
         {0x00, 0x45, 0x23, 0x01, 0x2C},
         "D120",
         {{"Settlement date cumulative flow, 1 month ago", "m^3", 12345.0, "12345.00 m³"}}},
        {"12 months ago, water",
         0x10,
         {0x2B, 0xD1},
         {0x50, 0x00, 0x00, 0x00, 0x29},
         "D12B",
         {{"Settlement date cumulative flow, 12 months ago", "m^3", 0.0005, "0.50 L"}}},
        {"3 months ago, heat",
         0x20,
         {0x22, 0xD1},
         {0x25, 0x01, 0x00, 0x00, 0x05},
         "D122",
         {{"Settlement date heat, 3 months ago", "Wh", 1250.0, "1.25 kWh"}}},
        {"price table",
         0x10,
         {0x02, 0x81},
         {0x50, 0x03, 0x00, 0x20, 0x00, 0x00, 0x20, 0x04, 0x00, 0x30, 0x00, 0x00, 0x80, 0x05, 0x00},
         "8102",
         {{"Price 1", "CNY/m^3", 3.50, "3.50 yuan/m³"},
          {"Volume limit of price 1", "m^3", 20.0, "20 m³"},
          {"Price 2", "CNY/m^3", 4.20, "4.20 yuan/m³"},
          {"Volume limit of price 2", "m^3", 30.0, "30 m³"},
          {"Price 3", "CNY/m^3", 5.80, "5.80 yuan/m³"}}},
        {"settlement day",
         0x10,
         {0x03, 0x81},
         {0x25},
         "8103",
         {{"Settlement day", "", 25.0, "day 25 of the month"}}},
        {"reading day",
         0x10,
         {0x04, 0x81},
         {0x15},
         "8104",
         {{"Reading day", "", 15.0, "day 15 of the month"}}},
        {"purchase",
         0x10,
         {0x05, 0x81},
         {0x0C, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x03, 0x00, 0x45, 0x23, 0x01, 0x00, 0x01, 0x00},
         "8105",
         {{"Purchase number", "", 12.0, "12"},
          {"Purchase amount", "CNY", 100.0, "100.00 yuan"},
          {"Total purchased", "CNY", 300.0, "300.00 yuan"},
          {"Remaining amount", "CNY", 123.45, "123.45 yuan"},
          {"Valve", "", std::string("closed"), "closed"}}},
    };
    for (const auto& row : rows) {
        for (const bool swapped : {false, true}) {
            SCOPED_TRACE(std::string(row.name) + (swapped ? ", high byte first" : ""));
            const Bytes di = swapped ? Bytes{row.di[1], row.di[0]} : row.di;
            const Reading r = decodeCj188Frame(
                frameOf(row.type, kAddress, 0x81, concat({di, {0x07}, row.payload})));
            ASSERT_TRUE(r.checkPassed);
            EXPECT_EQ(headerText(r, "di"), row.diText);
            EXPECT_EQ(findRecord(r, "Data"), nullptr) << "every byte belongs to a field";
            EXPECT_EQ(findRecord(r, "Additional data"), nullptr);
            expectRecords(r, row.records);
        }
    }
}

// ---- Real frames ----

const test::RealFrameSet& frames() {
    static const test::RealFrameSet set = test::LoadRealFrames(test::RealFramesDir());
    return set;
}

#define REQUIRE_REAL_FRAMES() \
    if (!frames().found) MB_REAL_FRAMES_MISSING(frames().problem)

const test::RealFrame* frameNamed(const std::string& file) {
    for (const test::RealFrame& f : frames().frames) {
        if (f.file == file) return &f;
    }
    return nullptr;
}

// "addr=00000805000001" in the index notes, written by the index builder.
std::string noteValue(const std::string& notes, const std::string& key) {
    const std::size_t at = notes.find(key + "=");
    if (at == std::string::npos) return {};
    const std::size_t start = at + key.size() + 1;
    return notes.substr(start, notes.find(' ', start) - start);
}

TEST(Cj188RealFrames, EveryValidFramePassesWithTheIndexedHeader) {
    REQUIRE_REAL_FRAMES();
    int checked = 0;
    for (const test::RealFrame& f : frames().frames) {
        if (f.protocol != test::FrameProtocol::Cjt188 || !f.checksumOk) continue;
        SCOPED_TRACE(f.file);
        const Reading r = decodeCj188Frame(f.bytes);
        EXPECT_TRUE(r.checkPassed);
        EXPECT_EQ(r.error, "");
        EXPECT_EQ(headerText(r, "address"), noteValue(f.notes, "addr"));
        EXPECT_EQ(headerText(r, "meter_type"), noteValue(f.notes, "T"));
        EXPECT_EQ(headerText(r, "control"), noteValue(f.notes, "C"));
        ++checked;
    }
    EXPECT_GE(checked, 17) << "the folder holds 17 CJ/T 188 frames with a valid checksum";
}

// Values the frames' sources state or compute: the collector scripts read the
// first amount as hundredths of m³ (0.29 m³ sent on as 290 L), the textbook
// frame is 556677.00 m³ read on 2015-05-11 22:01:31.
TEST(Cj188RealFrames, DocumentedValuesMatch) {
    REQUIRE_REAL_FRAMES();
    const std::pair<const char*, Expect> rows[] = {
        {"cj188/m-cb-780_read_data_reply_1.hex", {"Current cumulative flow", "m^3", 3.00, "3.00 m³"}},
        {"cj188/m-cb-780_read_data_reply_4_fe.hex", {"Current cumulative flow", "m^3", 0.29, "0.29 m³"}},
        {"cj188/fox-edge_read_data_reply_spec_example.hex", {"Current cumulative flow", "m^3", 556677.0, ""}},
        {"cj188/fox-edge_read_data_reply_spec_example.hex", {"Settlement date cumulative flow", "m^3", 556677.0, ""}},
        {"cj188/fox-edge_read_data_reply_spec_example.hex", {"Real time", "", std::string("2015-05-11T22:01:31"), ""}},
        {"cj188/fox-edge_read_address_reply.hex", {"Address", "", std::string("00000805000001"), ""}},
        {"cj188/python_cjt188_read_address_reply.hex", {"Address", "", std::string("00000000000012"), ""}},
    };
    for (const auto& [file, expected] : rows) {
        SCOPED_TRACE(file);
        const test::RealFrame* f = frameNamed(file);
        ASSERT_NE(f, nullptr);
        expectRecords(decodeCj188Frame(f->bytes), {expected});
    }
}

// The collector scripts' valve frames with control code 2A: a variant of
// valve control (A017), 55 forcing the valve open and 99 closed.
TEST(Cj188RealFrames, VendorValveFramesAreForcedValveControl) {
    REQUIRE_REAL_FRAMES();
    const std::pair<const char*, const char*> rows[] = {
        {"cj188/m-cb-780_valve_force_open_1.hex", "force open"},
        {"cj188/m-cb-780_valve_force_open_2.hex", "force open"},
        {"cj188/m-cb-780_valve_force_close_2.hex", "force close"},
    };
    for (const auto& [file, command] : rows) {
        SCOPED_TRACE(file);
        const test::RealFrame* f = frameNamed(file);
        ASSERT_NE(f, nullptr);
        const Reading r = decodeCj188Frame(f->bytes);
        ASSERT_TRUE(r.checkPassed);
        EXPECT_EQ(headerText(r, "command"),
                  "Forced valve control request (vendor control code 2A)");
        EXPECT_EQ(headerText(r, "di"), "A017");
        ASSERT_EQ(r.records.size(), 1u);
        EXPECT_EQ(r.records[0].quantity, "Valve command");
        EXPECT_EQ(std::get<std::string>(r.records[0].value), command);
    }
}

}  // namespace
}  // namespace mb
