// The request scanner against what a serial line really delivers.
#include <random>

#include "sim_test_support.h"
#include "tools/sim/request_scanner.h"

namespace mb::sim {
namespace {

using test::hex;

const Bytes kReadData = hex("FE FE FE 68 10 90 78 56 34 12 33 78 01 03 1F 90 01 7B 16");
const Bytes kReqUd2 = hex("10 5B 01 5C 16");
const Bytes kSetAddress = hex("68 06 06 68 53 FE 51 01 7A 05 22 16");

Bytes withoutWakeUp(const Bytes& b) {
    return Bytes(b.begin() + 3, b.end());
}

TEST(RequestScanner, FindsEachFrameKindWithItsBoundaries) {
    RequestScanner scanner;
    auto frames = scanner.feed(kReadData);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].kind, FrameKind::Cj188);
    EXPECT_EQ(frames[0].bytes, withoutWakeUp(kReadData));

    frames = scanner.feed(kReqUd2);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].kind, FrameKind::MbusShort);
    EXPECT_EQ(frames[0].bytes, kReqUd2);

    frames = scanner.feed(kSetAddress);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].kind, FrameKind::MbusLong);
    EXPECT_EQ(frames[0].bytes, kSetAddress);
    EXPECT_EQ(scanner.pending(), 0u);
}

TEST(RequestScanner, SeveralFramesInOneReadComeOutInLineOrder) {
    Bytes stream = kReqUd2;
    stream.insert(stream.end(), kReadData.begin(), kReadData.end());
    stream.insert(stream.end(), kSetAddress.begin(), kSetAddress.end());
    auto frames = RequestScanner().feed(stream);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].kind, FrameKind::MbusShort);
    EXPECT_EQ(frames[1].kind, FrameKind::Cj188);
    EXPECT_EQ(frames[2].kind, FrameKind::MbusLong);
}

TEST(RequestScanner, FrameSplitAtEveryBoundaryIsFoundOnceAtItsLastByte) {
    for (std::size_t cut = 1; cut < kReadData.size(); ++cut) {
        RequestScanner scanner;
        EXPECT_TRUE(scanner.feed(kReadData.data(), cut).empty()) << "cut " << cut;
        auto frames = scanner.feed(kReadData.data() + cut, kReadData.size() - cut);
        ASSERT_EQ(frames.size(), 1u) << "cut " << cut;
        EXPECT_EQ(frames[0].bytes, withoutWakeUp(kReadData));
    }
    RequestScanner byteWise;
    std::size_t found = 0;
    for (std::uint8_t b : kSetAddress) found += byteWise.feed(&b, 1).size();
    EXPECT_EQ(found, 1u);
}

TEST(RequestScanner, NoiseAndGarbageBeforeARequestAreSkipped) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        Bytes stream;
        for (int i = 0; i < 40; ++i) stream.push_back(static_cast<std::uint8_t>(byte(random)));
        stream.insert(stream.end(), kReqUd2.begin(), kReqUd2.end());
        auto frames = RequestScanner().feed(stream);
        ASSERT_FALSE(frames.empty()) << "round " << round;
        // Random bytes may by chance hold a frame of their own, but the request is always last.
        EXPECT_EQ(frames.back().bytes, kReqUd2) << "round " << round;
    }
}

TEST(RequestScanner, StrayStartBytesDoNotHideTheRequestBehindThem) {
    // A stray 68 whose "length" would reach far beyond the real frame.
    Bytes stream = hex("68 10 AA 68 FF FF 10 10 5B");
    stream.insert(stream.end(), kReadData.begin(), kReadData.end());
    stream.push_back(0x10);
    stream.insert(stream.end(), kReqUd2.begin(), kReqUd2.end());
    auto frames = RequestScanner().feed(stream);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].bytes, withoutWakeUp(kReadData));
    EXPECT_EQ(frames[1].bytes, kReqUd2);
}

TEST(RequestScanner, FramesWithAWrongChecksumOrStopByteAreNotRequests) {
    Bytes badSum = kReadData;
    badSum[17] ^= 0x01;
    Bytes badStop = kReqUd2;
    badStop[4] = 0x17;
    Bytes badLong = kSetAddress;
    badLong[10] += 1;
    Bytes unequalLengths = hex("68 06 07 68 53 FE 51 01 7A 05 22 16");
    for (const Bytes& bad : {badSum, badStop, badLong, unequalLengths})
        EXPECT_TRUE(RequestScanner().feed(bad).empty()) << toHex(bad);
    EXPECT_TRUE(RequestScanner().feed(hex("E5 E5 16 16 FE FE")).empty());
}

TEST(RequestScanner, AFailedCandidateDoesNotSwallowTheNextGoodFrame) {
    Bytes badSum = kReadData;
    badSum[17] ^= 0x01;
    Bytes stream = badSum;
    stream.insert(stream.end(), kReadData.begin(), kReadData.end());
    auto frames = RequestScanner().feed(stream);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].bytes, withoutWakeUp(kReadData));
}

TEST(RequestScanner, EndlessGarbageKeepsTheBufferBounded) {
    RequestScanner scanner;
    Bytes garbage(100000, 0x68);
    EXPECT_TRUE(scanner.feed(garbage).empty());
    EXPECT_LE(scanner.pending(), 2 * RequestScanner::kLongestFrame);
    EXPECT_EQ(scanner.feed(kReqUd2).size(), 1u);
}

TEST(RequestScanner, RealRequestsFromTheFrameFolderAreRecognised) {
    const char* files[] = {"cj188/m-cb-780_read_data_wildcard_request.hex",
                           "cj188/python_cjt188_read_address_wildcard_request.hex",
                           "cj188/fox-edge_read_data_request_di_swapped.hex"};
    for (const char* file : files) {
        auto frame = test::realFrame(file);
        if (!frame) MB_REAL_FRAMES_MISSING("not present in " + test::RealFramesDir());
        auto frames = RequestScanner().feed(*frame);
        ASSERT_EQ(frames.size(), 1u) << file;
        EXPECT_EQ(frames[0].kind, FrameKind::Cj188) << file;
        EXPECT_EQ(frames[0].bytes.back(), 0x16) << file;
    }
}

}  // namespace
}  // namespace mb::sim
