// The M-Bus heat meter: addressing, the RSP_UD long frame and the address change.
#include <map>

#include "sim_test_support.h"
#include "tools/sim/mbus_meter.h"

namespace mb::sim {
namespace {

using test::hex;

const DateTime kWhen{2026, 12, 7, 21, 45, 10};

Bytes reqUd2(std::uint8_t address, std::uint8_t control = 0x5B) {
    return Bytes{0x10, control, address, static_cast<std::uint8_t>(control + address), 0x16};
}

Bytes setAddress(std::uint8_t to, std::uint8_t newAddress, std::uint8_t control = 0x53) {
    Bytes b{0x68, 0x06, 0x06, 0x68, control, to, 0x51, 0x01, 0x7A, newAddress};
    b.push_back(sum8(b, 4, b.size()));
    b.push_back(0x16);
    return b;
}

struct Record {
    std::uint8_t dif, vif;
    Bytes value;
};

// Walks the variable data records in line order, value sizes by the DIF's data
// field. Fails the test when a record runs past the checksum.
std::vector<Record> recordList(const Bytes& frame) {
    std::vector<Record> list;
    std::size_t at = 19;  // 4 start bytes, C A CI, 12-byte fixed header
    const std::size_t end = frame.size() - 2;
    while (at < end) {
        const std::uint8_t dif = frame[at], vif = frame[at + 1];
        static const std::map<int, std::size_t> sizes{{0x2, 2}, {0x4, 4}, {0x6, 6},
                                                      {0xA, 2}, {0xB, 3}, {0xC, 4}};
        auto size = sizes.find(dif & 0x0F);
        if (size == sizes.end()) {
            ADD_FAILURE() << "unexpected DIF " << int(dif);
            return list;
        }
        EXPECT_LE(at + 2 + size->second, end) << "record at " << at << " runs into the checksum";
        list.push_back(
            {dif, vif, Bytes(frame.begin() + at + 2, frame.begin() + at + 2 + size->second)});
        at += 2 + size->second;
    }
    EXPECT_EQ(at, end);
    return list;
}

// Values of the instantaneous, storage-0 records by VIF, the first of each VIF.
std::map<std::uint8_t, Bytes> records(const Bytes& frame) {
    std::map<std::uint8_t, Bytes> byVif;
    for (const Record& r : recordList(frame))
        if ((r.dif & 0x70) == 0) byVif.emplace(r.vif, r.value);
    return byVif;
}

TEST(MbusMeter, ReqUd2IsAnsweredWithAGoodRspUdFrame) {
    MbusMeter meter;
    auto reply = meter.answer(reqUd2(1), kWhen);
    ASSERT_TRUE(reply);
    EXPECT_TRUE(test::isGoodMbusLong(*reply)) << toHex(*reply);
    const Bytes& r = *reply;
    EXPECT_EQ(r[4], 0x08) << "C field RSP_UD";
    EXPECT_EQ(r[5], 0x01) << "A field: the meter's primary address";
    EXPECT_EQ(r[6], 0x72) << "CI: variable data, long header";
    // Fixed header: ident 12345678 BCD, "SIM", version, medium heat, access 0, status, signature.
    EXPECT_EQ(Bytes(r.begin() + 7, r.begin() + 19), hex("78 56 34 12 2D 4D 01 04 00 00 00 00"));
}

TEST(MbusMeter, RspUdCarriesTheRecordsOfAHeatMeter) {
    MbusMeter meter;
    auto reply = meter.answer(reqUd2(1), kWhen);
    ASSERT_TRUE(reply);
    auto byVif = records(*reply);
    EXPECT_EQ(byVif[0x06], hex("11 47 00 00")) << "energy 4711 kWh";
    EXPECT_EQ(byVif[0x14], hex("56 34 12 00")) << "volume 1234.56 m3";
    EXPECT_EQ(byVif[0x2B], hex("50 24 00")) << "power 2450 W";
    EXPECT_EQ(byVif[0x3B], hex("12 03 00")) << "flow 312 l/h";
    EXPECT_EQ(byVif[0x5A], hex("52 06")) << "flow temperature 65.2 C";
    EXPECT_EQ(byVif[0x5E], hex("48 04")) << "return temperature 44.8 C";
    EXPECT_EQ(byVif[0x61], hex("40 20 00")) << "difference 20.40 K";
    ASSERT_EQ(byVif[0x6D].size(), 4u);
    const Bytes& f = byVif[0x6D];
    EXPECT_EQ(f[0] & 0x3F, 45);
    EXPECT_EQ(f[1] & 0x1F, 21);
    EXPECT_EQ(f[2] & 0x1F, 7);
    EXPECT_EQ(f[3] & 0x0F, 12);
    EXPECT_EQ((f[2] >> 5) | ((f[3] & 0xF0) >> 1), 26) << "year 2026";
}

TEST(MbusMeter, RecordsBeyondTheFirstTenCarryStorageMaximumAndTypeI) {
    auto reply = MbusMeter().answer(reqUd2(1), kWhen);
    ASSERT_TRUE(reply);
    auto list = recordList(*reply);
    // The ten records older decoders know keep their places; then energy at storage 1
    // (DIF bit 6), a maximum (function field 01, DIF bits 4-5) and a 48-bit type I.
    const std::vector<std::pair<int, int>> kinds{
        {0x0C, 0x06}, {0x0C, 0x14}, {0x0B, 0x2B}, {0x0B, 0x3B}, {0x0A, 0x5A},
        {0x0A, 0x5E}, {0x0B, 0x61}, {0x04, 0x6D}, {0x0A, 0x27}, {0x0C, 0x78},
        {0x4C, 0x06}, {0x1B, 0x2B}, {0x06, 0x6D}};
    ASSERT_EQ(list.size(), kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i)
        EXPECT_EQ(std::make_pair(int(list[i].dif), int(list[i].vif)), kinds[i]) << "record " << i;
    EXPECT_EQ(list[10].value, hex("00 42 00 00")) << "4200 kWh";
    EXPECT_EQ(list[11].value, hex("80 39 00")) << "3980 W";
    // 2026-12-07 21:45:10: seconds, minutes, hour | Monday (1) << 5, day | year bits 0-2
    // << 5, month | year bits 3-6 << 1, week not given.
    EXPECT_EQ(list[12].value, hex("0A 2D 35 47 3C 00"));
}

TEST(MbusMeter, AccessNumberCountsReadoutsAndBothFrameCountBitsAreAnswered) {
    MbusMeter meter;
    auto first = meter.answer(reqUd2(1, 0x5B), kWhen);
    auto second = meter.answer(reqUd2(1, 0x7B), kWhen);
    ASSERT_TRUE(first && second);
    EXPECT_EQ((*first)[15], 0);
    EXPECT_EQ((*second)[15], 1);
    EXPECT_TRUE(test::isGoodMbusLong(*second));
}

// EN 13757-2: after SND_NKE the first REQ_UD2 carries FCB 1; a toggled FCB
// asks for the next telegram, the same FCB again gets the last one repeated.
TEST(MbusMeter, TelegramsFollowTheFrameCountBit) {
    MbusSettings settings;
    settings.telegrams = 3;
    MbusMeter meter(settings);
    ASSERT_EQ(meter.answer(hex("10 40 01 41 16"), kWhen), Bytes{0xE5});
    const Bytes first = *meter.answer(reqUd2(1, 0x7B), kWhen);
    EXPECT_EQ(*meter.answer(reqUd2(1, 0x7B), kWhen), first) << "repeated FCB: the same telegram";
    const Bytes second = *meter.answer(reqUd2(1, 0x5B), kWhen);
    const Bytes third = *meter.answer(reqUd2(1, 0x7B), kWhen);
    EXPECT_NE(second, first);
    // DIF 1F closes every telegram but the last: more records follow.
    for (const Bytes* t : {&first, &second}) EXPECT_EQ((*t)[t->size() - 3], 0x1F);
    EXPECT_NE(third[third.size() - 3], 0x1F);
    EXPECT_TRUE(test::isGoodMbusLong(third));
}

TEST(MbusMeter, AnswersItsAddressAnd254ButNotOthers) {
    MbusMeter meter;
    EXPECT_TRUE(meter.answer(reqUd2(1), kWhen));
    auto viaBroadcast = meter.answer(reqUd2(254), kWhen);
    ASSERT_TRUE(viaBroadcast);
    EXPECT_EQ((*viaBroadcast)[5], 0x01) << "the reply names the real address";
    for (std::uint8_t other : {0, 2, 250, 253, 255})
        EXPECT_FALSE(meter.answer(reqUd2(other), kWhen)) << "address " << int(other);
    EXPECT_FALSE(meter.answer(reqUd2(1, 0x5A), kWhen)) << "REQ_UD1 is not served";
}

TEST(MbusMeter, SetAddressIsAcknowledgedAndTakesEffect) {
    MbusMeter meter;
    // The window's Modification ID to 254 with new address 05.
    const Bytes request = hex("68 06 06 68 53 FE 51 01 7A 05 22 16");
    ASSERT_EQ(request, setAddress(254, 5));
    auto ack = meter.answer(request, kWhen);
    ASSERT_TRUE(ack);
    EXPECT_EQ(*ack, Bytes{0xE5});
    EXPECT_EQ(meter.primaryAddress(), 5);
    EXPECT_FALSE(meter.answer(reqUd2(1), kWhen)) << "the old address is gone";
    auto reply = meter.answer(reqUd2(5), kWhen);
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[5], 0x05);

    // Addressed to its own (new) address, with the other frame-count bit.
    EXPECT_TRUE(meter.answer(setAddress(5, 7, 0x73), kWhen));
    EXPECT_EQ(meter.primaryAddress(), 7);
    // Addressed to another meter: no answer, no change.
    EXPECT_FALSE(meter.answer(setAddress(9, 3), kWhen));
    EXPECT_EQ(meter.primaryAddress(), 7);
}

TEST(MbusMeter, ReservedAddressesAreRefusedWithoutAnswer) {
    MbusMeter meter;
    for (std::uint8_t reserved : {251, 253, 254, 255}) {
        EXPECT_FALSE(meter.answer(setAddress(254, reserved), kWhen)) << int(reserved);
        EXPECT_EQ(meter.primaryAddress(), 1);
    }
    EXPECT_TRUE(meter.answer(setAddress(254, 250), kWhen));
    EXPECT_EQ(meter.primaryAddress(), 250);
}

TEST(MbusMeter, OtherSndUdContentAndRepliesOnTheLineAreIgnored) {
    MbusMeter meter;
    Bytes wrongVif = setAddress(254, 5);
    wrongVif[8] = 0x79;
    wrongVif[10] = sum8(wrongVif, 4, 10);
    EXPECT_FALSE(meter.answer(wrongVif, kWhen));
    // Its own RSP_UD echoed back is not a request.
    auto reply = meter.answer(reqUd2(1), kWhen);
    ASSERT_TRUE(reply);
    EXPECT_FALSE(meter.answer(*reply, kWhen));
    EXPECT_EQ(meter.primaryAddress(), 1);
}

TEST(MbusMeter, SndNkeIsAcknowledgedAndRestartsTheAccessNumber) {
    MbusMeter meter;
    meter.answer(reqUd2(1), kWhen);
    EXPECT_EQ(meter.answer(Bytes{0x10, 0x40, 0x01, 0x41, 0x16}, kWhen), Bytes{0xE5});
    auto reply = meter.answer(reqUd2(1), kWhen);
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[15], 0);
}

}  // namespace
}  // namespace mb::sim
