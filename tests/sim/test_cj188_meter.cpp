// The CJ/T 188 water meter: which requests it answers and what its replies hold.
#include "sim_test_support.h"
#include "tools/sim/cj188_meter.h"

namespace mb::sim {
namespace {

using test::hex;

const DateTime kNoon{2026, 12, 7, 12, 34, 56};

Cj188Settings plateSettings() {
    Cj188Settings s;
    s.address = *parseCj188Address("78331234567890");
    s.flowHundredths = 1234567;        // 12345.67 m3
    s.settlementHundredths = 1200000;  // 12000.00 m3
    s.status = {0x04, 0x00};
    return s;
}

// Request frames as the window builds them for meter number 1234567890, vendor 33 78.
const Bytes kReadData = hex("68 10 90 78 56 34 12 33 78 01 03 1F 90 01 7B 16");
const Bytes kReadId = hex("68 10 AA AA AA AA AA AA AA 03 03 0A 81 01 B0 16");

Bytes request(std::uint8_t type, const std::array<std::uint8_t, 7>& address, std::uint8_t control,
              std::uint8_t di0, std::uint8_t di1) {
    Bytes b;
    b.reserve(16);
    b.push_back(0x68);
    b.push_back(type);
    b.insert(b.end(), address.begin(), address.end());
    for (std::uint8_t x : {control, std::uint8_t{3}, di0, di1, std::uint8_t{1}}) b.push_back(x);
    b.push_back(sum8(b, 0, b.size()));
    b.push_back(0x16);
    return b;
}

TEST(Cj188Address, ReadsPlateDigitsIntoLineOrderAndBack) {
    auto address = parseCj188Address("78331234567890");
    ASSERT_TRUE(address);
    EXPECT_EQ(Bytes(address->begin(), address->end()), hex("90 78 56 34 12 33 78"));
    EXPECT_EQ(formatCj188Address(*address), "78331234567890");
    EXPECT_FALSE(parseCj188Address("7833123456789"));
    EXPECT_FALSE(parseCj188Address("78331234567A90"));
}

TEST(Cj188Meter, ReadDataReplyHasTheWaterMeterLayout) {
    Cj188Meter meter(plateSettings());
    auto reply = meter.answer(kReadData, kNoon);
    ASSERT_TRUE(reply);
    // FE FE FE, then 68 T A0..A6 81 16 90 1F SER flow(4)+unit flow(4)+unit time(7) status(2) CS 16
    ASSERT_EQ(reply->size(), 38u);
    EXPECT_EQ(Bytes(reply->begin(), reply->begin() + 3), hex("FE FE FE"));
    const Bytes frame(reply->begin() + 3, reply->end());
    EXPECT_TRUE(test::isGoodCj188(frame)) << toHex(frame);
    EXPECT_EQ(Bytes(frame.begin(), frame.begin() + 14),
              hex("68 10 90 78 56 34 12 33 78 81 16 90 1F 01"));
    // Each answered read moves the counter on by 0.01 m3: 12345.68 first.
    EXPECT_EQ(Bytes(frame.begin() + 14, frame.begin() + 19), hex("68 45 23 01 2C"));
    EXPECT_EQ(Bytes(frame.begin() + 19, frame.begin() + 24), hex("00 00 20 01 2C"));
    EXPECT_EQ(Bytes(frame.begin() + 24, frame.begin() + 31), hex("56 34 12 07 12 26 20"));
    EXPECT_EQ(Bytes(frame.begin() + 31, frame.begin() + 33), hex("04 00"));
}

TEST(Cj188Meter, HeatMeterReadDataReplyHasTheHeatLayout) {
    Cj188Settings s = plateSettings();
    s.meterType = 0x20;
    s.settlementHeatHundredths = 1200050;  // 12000.50 kWh
    s.heatHundredths = 1234566;            // 12345.66 kWh, 12345.67 after this read
    s.powerHundredths = 1875;              // 18.75 kW
    s.flowRateTenThousandths = 7321;       // 0.7321 m3/h
    s.supplyTempHundredths = 7012;         // 70.12 degC
    s.returnTempHundredths = 4598;         // 45.98 degC
    s.workingHours = 123456;
    Cj188Meter meter(s);
    EXPECT_TRUE(meter.isHeatMeter());
    EXPECT_FALSE(meter.answer(kReadData, kNoon)) << "a type 10 request is not for a heat meter";
    auto reply = meter.answer(request(0x20, s.address, 0x01, 0x1F, 0x90), kNoon);
    ASSERT_TRUE(reply);
    // FE FE FE, 68 T A0..A6 81 2E, then 46 data bytes, CS 16.
    ASSERT_EQ(reply->size(), 3u + 13u + 46u);
    const Bytes frame(reply->begin() + 3, reply->end());
    EXPECT_TRUE(test::isGoodCj188(frame)) << toHex(frame);
    EXPECT_EQ(Bytes(frame.begin(), frame.begin() + 14),
              hex("68 20 90 78 56 34 12 33 78 81 2E 90 1F 01"));
    const Bytes data(frame.begin() + 14, frame.end() - 2);
    EXPECT_EQ(data, hex("50 00 20 01 05"        // settlement-day heat 12000.50 kWh
                        "67 45 23 01 05"        // current heat 12345.67 kWh
                        "75 18 00 00 17"        // heat power 18.75 kW
                        "21 73 00 00 35"        // flow 0.7321 m3/h
                        "68 45 23 01 2C"        // cumulative flow 12345.68 m3
                        "12 70 00"              // supply 70.12 degC
                        "98 45 00"              // return 45.98 degC
                        "56 34 12"              // working time 123456 h
                        "56 34 12 07 12 26 20"  // real time
                        "04 00"));              // status
}

TEST(Cj188Meter, ReadDataReplyLinesUpWithARealMetersReply) {
    auto real = test::realFrame("cj188/fox-edge_read_data_reply_1.hex");
    if (!real) MB_REAL_FRAMES_MISSING("not present in " + test::RealFramesDir());
    Cj188Meter meter(plateSettings());
    auto reply = meter.answer(kReadData, kNoon);
    ASSERT_TRUE(reply);
    ASSERT_EQ(reply->size(), real->size());
    // Control code, length, identifier and both unit codes sit where the real meter has them.
    for (std::size_t i : {0u, 3u, 12u, 13u, 14u, 15u, 21u, 26u, 37u})
        EXPECT_EQ((*reply)[i], (*real)[i]) << "index " << i;
}

TEST(Cj188Meter, SuccessiveReadsCountUpAndCarryTheRequestsSerial) {
    Cj188Meter meter(plateSettings());
    Bytes withSerial = kReadData;
    withSerial[13] = 0x42;
    withSerial[14] = sum8(withSerial, 0, 14);
    auto first = meter.answer(kReadData, kNoon);
    auto second = meter.answer(withSerial, kNoon);
    ASSERT_TRUE(first && second);
    EXPECT_EQ((*first)[16], 0x01);
    EXPECT_EQ((*second)[16], 0x42);
    EXPECT_EQ((*second)[17], 0x69);  // 12345.69
    EXPECT_TRUE(test::isGoodCj188(*second, 3));
}

TEST(Cj188Meter, AnswersItsOwnAddressAndTheWildcardButNoOtherMeter) {
    Cj188Meter meter(plateSettings());
    const auto own = plateSettings().address;
    std::array<std::uint8_t, 7> wildcard;
    wildcard.fill(0xAA);
    auto other = own;
    other[0] = 0x91;

    EXPECT_TRUE(meter.answer(request(0x10, own, 0x01, 0x1F, 0x90), kNoon));
    EXPECT_TRUE(meter.answer(request(0x10, wildcard, 0x01, 0x1F, 0x90), kNoon));
    EXPECT_TRUE(meter.answer(request(0xAA, own, 0x01, 0x1F, 0x90), kNoon));
    // The identifier in the other byte order, as some vendors send it.
    EXPECT_TRUE(meter.answer(request(0x10, own, 0x01, 0x90, 0x1F), kNoon));

    EXPECT_FALSE(meter.answer(request(0x10, other, 0x01, 0x1F, 0x90), kNoon));
    EXPECT_FALSE(meter.answer(request(0x20, own, 0x01, 0x1F, 0x90), kNoon));
    // An identifier it does not know, or a write of one it cannot write: the
    // meter's error answer (C with D6 set), never data.
    const auto unknownRead = meter.answer(request(0x10, own, 0x01, 0x1F, 0x91), kNoon);
    const auto wrongWrite = meter.answer(request(0x10, own, 0x15, 0x1F, 0x90), kNoon);
    ASSERT_TRUE(unknownRead && wrongWrite);
    EXPECT_EQ((*unknownRead)[3 + 9], 0xC1);
    EXPECT_EQ((*wrongWrite)[3 + 9], 0xD5);
    // A reply frame (control 81) on the line is not a request.
    EXPECT_FALSE(meter.answer(request(0x10, own, 0x81, 0x1F, 0x90), kNoon));
}

TEST(Cj188Meter, ReadAddressAnswersWithControl83AndTheMetersAddress) {
    Cj188Meter meter(plateSettings());
    auto reply = meter.answer(kReadId, kNoon);
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, hex("FE FE FE 68 10 90 78 56 34 12 33 78 83 03 81 0A 01 D9 16"));
    EXPECT_TRUE(test::isGoodCj188(*reply, 3));

    Cj188Settings other = plateSettings();
    other.meterType = 0x20;
    EXPECT_FALSE(Cj188Meter(other).answer(kReadId, kNoon)) << "type 10 asked, meter is type 20";
}

TEST(Cj188Meter, RealReadAddressRequestWithWildcardTypeIsAnswered) {
    auto real = test::realFrame("cj188/python_cjt188_read_address_wildcard_request.hex");
    if (!real) MB_REAL_FRAMES_MISSING("not present in " + test::RealFramesDir());
    auto start = test::afterWakeUp(*real);
    ASSERT_TRUE(start);
    Cj188Meter meter(plateSettings());
    auto reply = meter.answer(Bytes(real->begin() + *start, real->end()), kNoon);
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[12], 0x83);
    EXPECT_EQ((*reply)[16], 0x00) << "serial 00 of the request is returned";
}

}  // namespace
}  // namespace mb::sim
