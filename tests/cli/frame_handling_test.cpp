// Hex input, protocol detection and the requests a bus master sends: the
// pieces every command relies on.
#include <gtest/gtest.h>

#include "cj188/Cj188Requests.h"
#include "cli/FrameInput.h"
#include "mbus/MbusRequests.h"

namespace mb::cli {
namespace {

TEST(HexInput, AcceptsBlanksAndLineBreaksRefusesAnythingElse) {
    struct Case {
        const char* text;
        std::optional<Bytes> bytes;
    };
    const Case cases[] = {
        {"68 0a\n0A 68\r\n", Bytes{0x68, 0x0A, 0x0A, 0x68}},
        {"e5", Bytes{0xE5}},
        {"  ", Bytes{}},
        {"E", std::nullopt},        // odd digit count
        {"0x68", std::nullopt},     // prefix
        {"68,16", std::nullopt},    // comma
        {"6 8 1 6", Bytes{0x68, 0x16}},  // digits pair up across blanks
    };
    for (const auto& c : cases) EXPECT_EQ(parseHexText(c.text), c.bytes) << c.text;
    // Into a buffer reused from line to line: nothing of the line before stays.
    Bytes reused{0x68, 0x0A, 0x0A, 0x68};
    EXPECT_TRUE(parseHexText("e5", reused));
    EXPECT_EQ(reused, Bytes{0xE5});
    EXPECT_FALSE(parseHexText("E", reused));
}

TEST(HexInput, DetectsProtocolByShape) {
    struct Case {
        const char* hex;
        Protocol protocol;
        bool hasLength;
    };
    const Case cases[] = {
        {"E5", Protocol::Mbus, true},
        {"E5 E5", Protocol::Mbus, false},
        {"10 5B 01 5C 16", Protocol::Mbus, true},
        {"68 03 03 68 53 FE 51 A2 16", Protocol::Mbus, true},
        {"68 03 03 68 53 FE 51 A2", Protocol::Cj188, false},  // L+6 not met: no M-Bus long frame
        {"FE FE 68 10 00 00 05 08 00 00 00 83 03 0A 81 00 96 16", Protocol::Cj188, true},
        {"FE FE 68 10 00 00 05 08 00 00 00 83 03 0A 81 00 16", Protocol::Cj188, false},
        {"FE E5", Protocol::Unknown, false},  // wake-up bytes belong to CJ/T 188 only
        {"16 68", Protocol::Unknown, false},
    };
    for (const auto& c : cases) {
        const Bytes bytes = *parseHexText(c.hex);
        EXPECT_EQ(detectProtocol(bytes), c.protocol) << c.hex;
        EXPECT_EQ(hasFrameLength(bytes), c.hasLength) << c.hex;
    }
}

TEST(BusRequests, FramesAsTheStandardLaysThemOut) {
    // Checksums worked by hand: sum of the bytes from C on, modulo 256.
    EXPECT_EQ(mbusReqUd2(0xFE, true), *parseHexText("10 7B FE 79 16"));
    EXPECT_EQ(mbusSetAddress(5, 7), *parseHexText("68 06 06 68 53 05 51 01 7A 07 2B 16"));
    SecondaryMask mask;
    mask.idDigits = {1, 2, 3, 4, 5, 6, 0xF, 0xF};
    EXPECT_EQ(mbusSelect(mask), *parseHexText("68 0B 0B 68 53 FD 52 FF 56 34 12 FF FF FF FF 39 16"));
    const auto plate = cj188AddressFromPlate("78330000000001");
    ASSERT_TRUE(plate);
    EXPECT_EQ(cj188ReadData(0x20, *plate),
              *parseHexText("FE FE FE 68 20 01 00 00 00 00 33 78 01 03 1F 90 01 E8 16"));
    EXPECT_FALSE(cj188AddressFromPlate("7833000000000"));
    EXPECT_FALSE(cj188AddressFromPlate("7833000000000B"));
}

}  // namespace
}  // namespace mb::cli
