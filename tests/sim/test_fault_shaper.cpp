// What each fault does to the bytes that go on the line.
#include <algorithm>
#include <numeric>

#include "sim_test_support.h"
#include "tools/sim/fault_shaper.h"

namespace mb::sim {
namespace {

using test::hex;

const Bytes kReply = hex("68 03 03 68 08 01 72 7B 16");

FaultSettings with(std::initializer_list<Fault> faults) {
    FaultSettings s;
    for (Fault f : faults) s.faults |= static_cast<unsigned>(f);
    return s;
}

Bytes joined(const std::vector<Chunk>& plan) {
    Bytes all;
    for (const Chunk& c : plan) all.insert(all.end(), c.bytes.begin(), c.bytes.end());
    return all;
}

unsigned totalPause(const std::vector<Chunk>& plan) {
    return std::accumulate(plan.begin(), plan.end(), 0u,
                           [](unsigned sum, const Chunk& c) { return sum + c.pauseMs; });
}

TEST(FaultShaper, WithoutFaultsTheReplyGoesOutWhole) {
    FaultShaper shaper(FaultSettings{});
    auto plan = shaper.shape(kReply);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].bytes, kReply);
    EXPECT_EQ(plan[0].pauseMs, 0u);
    EXPECT_FALSE(shaper.lastWasFaulty());
}

TEST(FaultShaper, BadChecksumChangesOnlyTheChecksumByte) {
    auto plan = FaultShaper(with({Fault::BadChecksum})).shape(kReply);
    Bytes out = joined(plan);
    ASSERT_EQ(out.size(), kReply.size());
    EXPECT_FALSE(test::isGoodMbusLong(out));
    out[out.size() - 2] = kReply[kReply.size() - 2];
    EXPECT_EQ(out, kReply);
    // A single-character acknowledgement has no checksum to spoil.
    EXPECT_EQ(joined(FaultShaper(with({Fault::BadChecksum})).shape({0xE5})), Bytes{0xE5});
}

TEST(FaultShaper, SplitSendsTheSameBytesInPausedChunks) {
    FaultSettings s = with({Fault::Split});
    s.splitBytes = 4;
    s.splitPauseMs = 25;
    auto plan = FaultShaper(s).shape(kReply);
    ASSERT_EQ(plan.size(), 3u);  // 4 + 4 + 1
    EXPECT_EQ(plan[0].pauseMs, 0u);
    EXPECT_EQ(plan[1].pauseMs, 25u);
    EXPECT_EQ(plan[2].bytes.size(), 1u);
    EXPECT_EQ(joined(plan), kReply);
}

TEST(FaultShaper, NoiseComesFirstAndHoldsNoStartByteNorAnAcknowledgement) {
    FaultSettings s = with({Fault::Noise});
    s.noiseBytes = 5000;
    Bytes out = joined(FaultShaper(s).shape(kReply));
    ASSERT_EQ(out.size(), 5000 + kReply.size());
    EXPECT_TRUE(std::equal(kReply.begin(), kReply.end(), out.end() - kReply.size()));
    // 68 and 10 open a frame; E5 is a complete frame on its own.
    for (std::uint8_t banned : {0x68, 0x10, 0xE5})
        EXPECT_EQ(std::count(out.begin(), out.begin() + 5000, banned), 0) << int(banned);
}

TEST(FaultShaper, SilentSendsNothingOfTheMeter) {
    FaultShaper shaper(with({Fault::Silent}));
    EXPECT_TRUE(shaper.shape(kReply).empty());
    EXPECT_TRUE(shaper.lastWasFaulty());
    // The echo is the line's, never part of the meter's output.
    EXPECT_TRUE(FaultShaper(with({Fault::Silent, Fault::Echo})).shape(kReply).empty());
}

TEST(FaultShaper, LateDelaysTheMeterFirstByte) {
    FaultSettings s = with({Fault::Late});
    s.delayMs = 700;
    auto plan = FaultShaper(s).shape(kReply);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].pauseMs, 700u);
    EXPECT_EQ(plan[0].bytes, kReply);
}

TEST(FaultShaper, FloodPrecedesTheReplyWithTheAskedNumberOfBytes) {
    FaultSettings s = with({Fault::Flood});
    s.floodBytes = 3000;
    Bytes out = joined(FaultShaper(s).shape(kReply));
    ASSERT_EQ(out.size(), 3000 + kReply.size());
    EXPECT_TRUE(std::equal(kReply.begin(), kReply.end(), out.end() - kReply.size()));
    // Random bytes of every kind, start bytes included.
    EXPECT_GT(std::count(out.begin(), out.begin() + 3000, 0x68), 0);
}

TEST(FaultShaper, CombinedFaultsKeepTheirOrderOnTheLine) {
    FaultSettings s =
        with({Fault::Echo, Fault::Noise, Fault::Split, Fault::BadChecksum, Fault::Late});
    s.noiseBytes = 3;
    s.splitBytes = 5;
    s.delayMs = 100;
    s.splitPauseMs = 10;
    auto plan = FaultShaper(s).shape(kReply);
    ASSERT_GE(plan.size(), 2u);
    EXPECT_EQ(plan[0].pauseMs, 100u);
    EXPECT_EQ(totalPause(plan), 100u + 10u * (plan.size() - 1));
    Bytes meter = joined(plan);
    ASSERT_EQ(meter.size(), 3 + kReply.size());
    Bytes reply(meter.begin() + 3, meter.end());
    EXPECT_NE(reply, kReply);
    reply[reply.size() - 2] = kReply[kReply.size() - 2];
    EXPECT_EQ(reply, kReply);
}

TEST(FaultShaper, FaultEveryNthSparesTheOthers) {
    FaultSettings s = with({Fault::Silent});
    s.every = 3;
    FaultShaper shaper(s);
    std::vector<bool> faulty;
    for (int i = 0; i < 7; ++i) {
        auto plan = shaper.shape(kReply);
        faulty.push_back(shaper.lastWasFaulty());
        EXPECT_EQ(plan.empty(), faulty.back()) << "exchange " << i + 1;
    }
    EXPECT_EQ(faulty, (std::vector<bool>{false, false, true, false, false, true, false}));
}

}  // namespace
}  // namespace mb::sim
