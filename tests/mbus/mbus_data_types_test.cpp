// Worked examples, one record per frame, for each data coding, date type,
// VIF family and the ways a frame or record can be broken.
#include <gtest/gtest.h>

#include <string>

#include "mbus/MbusDecoder.h"
#include "tests/mbus/MbusTestSupport.h"

namespace mb::test {
namespace {

Record onlyRecord(const std::string& recordHex) {
    const Reading r = decodeMbusFrame(variableFrame(recordHex));
    EXPECT_TRUE(r.checkPassed) << r.error;
    EXPECT_EQ(r.records.size(), 1u) << recordHex;
    return r.records.empty() ? Record{} : r.records.front();
}

struct NumberCase {
    const char* record;
    const char* quantity;
    const char* unit;
    double value;
    const char* display;
};

// The record decodes alone, without error, to the case's quantity, unit, value and text.
void expectNumber(const NumberCase& c) {
    SCOPED_TRACE(c.record);
    const Record r = onlyRecord(c.record);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.quantity, c.quantity);
    EXPECT_EQ(r.unit, c.unit);
    ASSERT_TRUE(std::holds_alternative<double>(r.value));
    EXPECT_NEAR(std::get<double>(r.value), c.value, std::abs(c.value) * 1e-9 + 1e-9);
    EXPECT_EQ(r.display, c.display);
    EXPECT_EQ(r.rawHex, c.record);
}

TEST(MbusDataTypes, NumbersInEveryCodingAndScale) {
    const NumberCase cases[] = {
        {"04 06 67 12 00 00", "Energy", "Wh", 4711000, "4711 kWh"},              // int32, 10^3 Wh
        {"0C 13 45 23 01 00", "Volume", "m^3", 12.345, "12.345 m³"},             // BCD8, 10^-3 m³
        {"01 13 FF", "Volume", "m^3", -0.001, "-0.001 m³"},                      // int8 two's complement
        {"02 5A 8C FF", "Flow temperature", "°C", -11.6, "-11.6 °C"},            // int16 negative
        {"03 2B 40 E2 01", "Power", "W", 123456, "123456 W"},                    // int24, 10^0 W
        {"06 03 01 00 00 00 00 80", "Energy", "Wh", -140737488355327.0, "-140737488355327 Wh"},  // int48
        {"07 03 FF FF FF FF FF FF FF FF", "Energy", "Wh", -1, "-1 Wh"},          // int64
        {"05 5B 00 00 82 42", "Flow temperature", "°C", 65.0, "65 °C"},          // real32, 10^0
        {"0A 5A 52 06", "Flow temperature", "°C", 65.2, "65.2 °C"},              // BCD4
        {"0A 13 45 F1", "Volume", "m^3", -0.145, "-0.145 m³"},                   // BCD negative sign nibble
        {"0E 04 01 00 00 00 00 00", "Energy", "Wh", 10, "0.01 kWh"},             // BCD12, 10^1 Wh
        {"09 61 25", "Temperature difference", "K", 0.25, "0.25 K"},             // BCD2
        {"0B 3B 50 23 01", "Volume flow", "m^3/h", 12.35, "12.350 m³/h"},         // BCD6
        {"02 22 02 00", "On time", "s", 7200, "2 h"},
        {"02 27 0A 00", "Operating time", "s", 864000, "10 d"},
        {"01 42 05", "Volume flow", "m^3/h", 0.003, "0.00005 m³/min"},           // 10^-5 m³/min
        {"01 6B 14", "Pressure", "bar", 20, "20 bar"},
        {"02 FD 48 FE 08", "Voltage", "V", 230.2, "230.2 V"},                       // FD 0x48: 10^-1 V
        {"02 FD 59 10 27", "Current", "A", 10, "10.000 A"},                      // FD 0x59: 10^-3 A
        {"02 FB 01 0A 00", "Energy", "Wh", 10e6, "10 MWh"},                      // FB 0x01: 10^0 MWh
        {"02 FB 5B D4 00", "Flow temperature", "°C", 100.0, "212 °F"},           // FB 0x5B: 10^0 °F
        {"04 83 75 10 27 00 00", "Energy", "Wh", 1000, "1000.0 Wh"},             // VIFE 0x75: factor 10^-1
        {"02 AC 22 10 00", "Power, per hour", "W/h", 160, "0.16 kW/h"},
    };
    for (const NumberCase& c : cases) expectNumber(c);
}

struct TextCase {
    const char* record;
    const char* quantity;
    const char* value;
    const char* display;
    bool error;
};

// Codes of the 0xFB and 0xFD extension tables that the current edition of the
// application layer defines; expectations are worked from the table's rule for
// each code (10^(n-1) %, 10^(nn-3) Hz, ...), not from the decoder.
TEST(MbusDataTypes, ExtensionTableCodesOfTheCurrentEdition) {
    const NumberCase cases[] = {
        {"0A FB 1A 31 05", "Relative humidity", "%", 53.1, "53.1 %"},            // FB 1A: 10^-1 %
        {"0A FB 1B 53 00", "Relative humidity", "%", 53, "53 %"},                // FB 1B: 10^0 %
        {"02 FB 02 0A 00", "Reactive energy", "varh", 10e3, "10 kvarh"},         // FB 02: 10^0 kvarh
        {"02 FB 03 0A 00", "Reactive energy", "varh", 100e3, "0.10 Mvarh"},       // FB 03: 10^1 kvarh
        {"02 FB 0D 0A 00", "Energy", "J", 10 * 4.1868e6, "10 Mcal"},             // FB 0D: 10^0 Mcal
        {"02 FB 0C 0A 00", "Energy", "J", 4.1868e6, "1.0 Mcal"},                 // FB 0C: 10^-1 Mcal
        {"02 FB 15 0A 00", "Reactive power", "var", 100, "0.10 kvar"},             // FB 15: 10^-2 kvar
        {"02 FB 17 0A 00", "Reactive power", "var", 10e3, "10 kvar"},            // FB 17: 10^0 kvar
        {"02 FB 20 0A 00", "Volume", "m^3", 10 * 0.028316846592, "10 ft³"},      // FB 20: 1 ft³
        {"02 FB 2A 0A 07", "Phase voltage to voltage", "°", 180.2, "180.2 °"},   // FB 2A: 0.1°
        {"02 FB 2B 0A 00", "Phase voltage to current", "°", 1.0, "1.0 °"},       // FB 2B: 0.1°
        {"02 FB 2D 88 13", "Frequency", "Hz", 50, "50.00 Hz"},                   // FB 2D: 10^-2 Hz
        {"02 FB 2F 32 00", "Frequency", "Hz", 50, "50 Hz"},                      // FB 2F: 10^0 Hz
        {"02 FB 75 0A 00", "Cold/warm temperature limit", "°C", 0.1, "0.10 °C"},  // FB 75: 10^-2 °C
        {"02 FB 77 0A 00", "Cold/warm temperature limit", "°C", 10, "10 °C"},     // FB 77: 10^0 °C
        {"02 FB 73 D4 00", "Cold/warm temperature limit", "°C", 100, "212 °F"},   // FB 73: 10^0 °F
        {"02 FD 3D 0F 00", "Period of nominal data transmissions", "s", 900, "15 min"},  // FD 3D
        {"01 FD 2B 1E", "Time point second", "s", 30, "30 s"},                   // FD 2B
    };
    for (const NumberCase& c : cases) expectNumber(c);
    // Containers carry bytes of another protocol: shown as hex, not refused.
    for (const char* record : {"0D FD 3B 02 AA BB", "0D FD 2A 02 AA BB"}) {
        const Record r = onlyRecord(record);
        EXPECT_EQ(r.error, "") << record;
        EXPECT_EQ(r.display, "AA BB") << record;
    }
}

TEST(MbusDataTypes, DatesIdentifiersTextAndRawBytes) {
    const TextCase cases[] = {
        {"02 6C 48 3C", "Date", "2026-12-08", "2026-12-08", false},                   // type G
        {"02 6C FF FC", "Date", "2127-12-31", "2127-12-31", false},                   // G year 127 stays 21xx
        {"04 6D 13 01 48 3C", "Date and time", "2026-12-08T01:19", "2026-12-08 01:19", false},  // type F
        {"04 6D 93 01 48 3C", "Date and time", "2026-12-08T01:19", "2026-12-08 01:19 (invalid)", true},
        {"04 6D 13 41 48 3C", "Date and time", "2126-12-08T01:19", "2126-12-08 01:19", false},  // century 2 -> 21xx
        {"04 6D 13 01 08 0C", "Date and time", "2000-12-08T01:19", "2000-12-08 01:19", false},
        {"06 6D 05 13 01 48 3C 32", "Date and time", "2026-12-08T01:19:05", "2026-12-08 01:19:05", false},  // type I
        {"06 6D 05 93 01 48 3C 32", "Date and time", "2026-12-08T01:19:05", "2026-12-08 01:19:05 (invalid)", true},
        {"0C 78 17 58 85 06", "Fabrication number", "06855817", "06855817", false},
        {"04 78 40 E2 01 00", "Fabrication number", "123456", "123456", false},
        {"0D FD 0C 03 43 42 41", "Model / version", "ABC", "ABC", false},            // LVAR text, reversed
        {"0D 13 C2 45 23", "Volume", nullptr, "2.345 m³", false},                    // LVAR BCD
        {"0D FD 0E E2 34 12", "Firmware version", "4660", "4660", false},            // LVAR binary number
        {"0D 7F 03 01 02 03", "Manufacturer specific", "01 02 03", "01 02 03", false},
        {"0D 13 F0 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00", "Volume",
         "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00", nullptr, false},          // LVAR 16-byte binary
        {"02 FD 17 13 00", "Error flags", nullptr, "0x0013", false},
        {"02 6C FF FF", "Date", "2127-15-31", "2127-15-31 (invalid)", true},          // all ones: not set
        {"0C 13 45 2A 01 00", "Volume", nullptr, nullptr, true},                     // A is no BCD digit
        {"04 6C 01 02 03 04", "Date", nullptr, nullptr, true},                       // a date must be G-sized
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.record);
        const Record r = onlyRecord(c.record);
        EXPECT_EQ(r.quantity, c.quantity);
        EXPECT_EQ(!r.error.empty(), c.error) << r.error;
        if (c.value) {
            ASSERT_TRUE(std::holds_alternative<std::string>(r.value));
            EXPECT_EQ(std::get<std::string>(r.value), c.value);
        }
        if (c.display) {
            EXPECT_EQ(r.display, c.display);
        }
    }
}

TEST(MbusDataTypes, DifeChainSetsStorageTariffAndSubunit) {
    // DIF C4: storage bit 1, two DIFEs: storage nibbles 3 then 1, tariff 1 then 3, subunit 1 then 1.
    const Record r = onlyRecord("C4 D3 71 13 01 00 00 00");
    EXPECT_EQ(r.storage, 1u | (3u << 1) | (1u << 5));
    EXPECT_EQ(r.tariff, 1u | (3u << 2));
    EXPECT_EQ(r.subunit, 3u);
    EXPECT_EQ(r.function, RecordFunction::Instantaneous);
    EXPECT_EQ(onlyRecord("14 13 01 00 00 00").function, RecordFunction::Maximum);
    EXPECT_EQ(onlyRecord("24 13 01 00 00 00").function, RecordFunction::Minimum);
    EXPECT_EQ(onlyRecord("34 13 01 00 00 00").function, RecordFunction::Error);
}

TEST(MbusDataTypes, FillersManufacturerDataAndBrokenRecords) {
    Reading r = decodeMbusFrame(variableFrame("2F 2F 01 13 05 1F AA BB"));
    ASSERT_EQ(r.records.size(), 2u);
    EXPECT_EQ(r.records[1].function, RecordFunction::Manufacturer);
    EXPECT_EQ(std::get<std::string>(r.records[1].value), "AA BB");
    EXPECT_EQ(headerText(r, "more_records_follow"), "yes");

    // A record cut short keeps its quantity and bytes.
    r = decodeMbusFrame(variableFrame("01 13 05 04 06 67 12"));
    ASSERT_EQ(r.records.size(), 2u);
    EXPECT_EQ(r.records[1].quantity, "Energy");
    EXPECT_EQ(r.records[1].error, "record truncated: data field needs 4 bytes, 2 left");
    EXPECT_EQ(r.records[1].rawHex, "04 06 67 12");

    // VIF 7B with no extension byte: that record fails, the next still decodes.
    r = decodeMbusFrame(variableFrame("01 13 05 04 7B 01 02 03 04 01 13 06"));
    ASSERT_EQ(r.records.size(), 3u);
    EXPECT_EQ(r.records[1].rawHex, "04 7B 01 02 03 04");
    EXPECT_NE(r.records[1].error, "");
    EXPECT_EQ(r.records[2].display, "0.006 m³");
    // VIF FB with its extension bit set but the data ends: the rest is the error record.
    r = decodeMbusFrame(variableFrame("01 13 05 04 FB"));
    ASSERT_EQ(r.records.size(), 2u);
    EXPECT_EQ(r.records[1].rawHex, "04 FB");
    EXPECT_NE(r.records[1].error, "");

    // Reserved LVAR: the record's end is unknown, so the rest is one error record.
    r = decodeMbusFrame(variableFrame("0D 13 FF 01 02 01 13 05"));
    ASSERT_EQ(r.records.size(), 1u);
    EXPECT_EQ(r.records[0].rawHex, "0D 13 FF 01 02 01 13 05");
}

// Counts in messages agree with their noun: "1 more byte", "2 more bytes".
TEST(MbusDataTypes, MessagesCountBytesInTheSingularAndPlural) {
    const std::pair<const char*, const char*> frames[] = {
        {"E5 E5", "single character E5 followed by 1 more byte"},
        {"E5 E5 E5", "single character E5 followed by 2 more bytes"},
        {"68", "long frame too short: 1 byte"},
        {"68 03", "long frame too short: 2 bytes"},
    };
    for (const auto& [hex, error] : frames) EXPECT_EQ(decodeMbusFrame(bytesFromHex(hex)).error, error) << hex;

    const Reading cut = decodeMbusFrame(variableFrame("01 13"));
    ASSERT_EQ(cut.records.size(), 1u);
    EXPECT_EQ(cut.records[0].error, "record truncated: data field needs 1 byte, 0 left");
    const Reading oneByteDate = decodeMbusFrame(variableFrame("01 6D 05"));
    ASSERT_EQ(oneByteDate.records.size(), 1u);
    EXPECT_EQ(oneByteDate.records[0].error, "no date/time type is 1 byte long");
}

TEST(MbusDataTypes, FrameEnvelopes) {
    Reading r = decodeMbusFrame(bytesFromHex("E5"));
    EXPECT_TRUE(r.checkPassed);
    EXPECT_EQ(headerText(r, "frame"), "Acknowledge (E5)");
    EXPECT_TRUE(r.records.empty());

    r = decodeMbusFrame(bytesFromHex("10 40 05 45 16"));
    EXPECT_TRUE(r.checkPassed);
    EXPECT_EQ(headerText(r, "frame"), "SND_NKE");
    EXPECT_EQ(headerText(r, "address"), "5");
    EXPECT_EQ(headerText(decodeMbusFrame(bytesFromHex("10 7B FE 79 16")), "frame"), "REQ_UD2");

    const char* broken[] = {"10 40 05 46 16", "10 40 05 45 17", "E5 E5", "68 05 06 68 08 01 72 00 00 7B 16",
                            "68 03 03 69 08 01 72 7B 16", "68 03 03 68 08 01 72 7B", "", "42"};
    for (const char* hex : broken) {
        r = decodeMbusFrame(bytesFromHex(hex));
        EXPECT_FALSE(r.checkPassed) << hex;
        EXPECT_NE(r.error + r.checkProblem, "") << hex << ": says why";
        EXPECT_TRUE(r.header.empty() && r.records.empty()) << hex;
    }

    // Control frames carry the CI alone: nothing to decode, nothing to report.
    for (const char* ci : {"72", "73", "77", "7A", "51"}) {
        r = decodeMbusFrame(longFrame(bytesFromHex(ci)));
        EXPECT_TRUE(r.checkPassed && r.records.empty()) << ci;
    }

    r = decodeMbusFrame(longFrame(bytesFromHex("7A 2A 14 00 00 01 13 05")));
    EXPECT_EQ(headerText(r, "access_number"), "42");
    EXPECT_EQ(headerText(r, "status_text"), "power low, temporary error");
    ASSERT_EQ(r.records.size(), 1u);

    // Mode 5 signature with data that does not start with fillers: ciphertext, not records.
    r = decodeMbusFrame(longFrame(bytesFromHex("7A 2A 00 00 05 9E 3C 11 07")));
    ASSERT_EQ(r.records.size(), 1u);
    EXPECT_EQ(r.records[0].error, "data encrypted (mode 5), not decoded");
}

}  // namespace
}  // namespace mb::test
