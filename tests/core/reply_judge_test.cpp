// How the bytes after a request are judged, for both protocols: the echo,
// wake-up bytes, noise, false starts, the stop byte, collisions.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "cj188/Cj188Requests.h"
#include "core/ReplyJudge.h"
#include "mbus/MbusRequests.h"
#include "tests/support/core/HexBytes.h"

namespace mb {
namespace {

using test::HexBytes;
using Bytes = std::vector<std::uint8_t>;

// Answers written out by hand from the frame layouts (checksums summed on paper).
const Bytes kCj188Answer = HexBytes("FE FE 68 10 01 00 00 00 00 00 00 81 03 1F 90 00 AC 16");
const Bytes kMbusAnswer = HexBytes("68 03 03 68 08 01 72 7B 16");

struct Side {
    const char* name;
    ExchangeRequest request;
    Bytes answer;        // wake-up bytes included
    std::size_t wakeUp;  // how many
};

Side cj188() {
    return {"CJ/T 188",
            cj188ReadDataExchange(HexBytes("FE FE FE 68 10 01 00 00 00 00 00 00 01 03 1F 90 01 2D 16")),
            kCj188Answer, 2};
}
Side mbus() { return {"M-Bus", mbusReadExchange(mbusReqUd2(1)), kMbusAnswer, 0}; }

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Random bytes without a start byte of either protocol (and without E5).
Bytes noise(std::size_t n, std::uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes bytes(n);
    for (auto& b : bytes) {
        do b = static_cast<std::uint8_t>(rng());
        while (b == 0x68 || b == 0x10 || b == 0xE5 || b == 0xFE);
    }
    return bytes;
}

class BothProtocols : public ::testing::TestWithParam<Side (*)()> {};

TEST_P(BothProtocols, AnswerIsWholeOnlyWithItsStopByteWhateverTheSplit) {
    const Side s = GetParam()();
    const std::size_t n = s.answer.size();
    for (std::size_t a = 0; a <= n; ++a) {
        for (std::size_t b = a; b <= n; ++b) {
            ReplyJudge judge(s.request);
            judge.take(std::span(s.answer).first(a));
            judge.take(std::span(s.answer).subspan(a, b - a));
            EXPECT_EQ(judge.answered(), b == n) << s.name << " cuts " << a << ", " << b;
            judge.take(std::span(s.answer).subspan(b));
            ASSERT_TRUE(judge.answered()) << s.name;
            EXPECT_EQ(judge.frame(), Bytes(s.answer.begin() + static_cast<long>(s.wakeUp), s.answer.end()));
            EXPECT_EQ(judge.noiseBytes(), 0u);
        }
    }
}

TEST_P(BothProtocols, EchoOfTheRequestIsSkippedNeverTakenForTheAnswer) {
    const Side s = GetParam()();
    const Bytes line = join({s.request.bytes, s.answer});
    for (std::size_t split = 0; split <= line.size(); ++split) {
        ReplyJudge judge(s.request);
        judge.take(std::span(line).first(split));
        EXPECT_EQ(judge.answered(), split == line.size()) << s.name << " split " << split;
        judge.take(std::span(line).subspan(split));
        EXPECT_TRUE(judge.echoSkipped());
        EXPECT_EQ(judge.bytesBeyondEcho(), s.answer.size());
        EXPECT_EQ(judge.noiseBytes(), 0u);
    }
    ReplyJudge echoOnly(s.request);
    echoOnly.take(s.request.bytes);
    EXPECT_FALSE(echoOnly.answered());
    EXPECT_EQ(echoOnly.bytesBeyondEcho(), 0u) << "an echo alone is silence";
}

TEST_P(BothProtocols, FalseStartsNeverSwallowTheAnswerBehindThem) {
    const Side s = GetParam()();
    Bytes badSum = s.answer, badStop = s.answer;
    badSum[badSum.size() - 2] ^= 0x01;
    badStop.back() = 0x17;
    struct Case {
        const char* what;
        Bytes before;
    };
    const Case cases[] = {
        {"stray start byte", {0x68}},
        {"wrong checksum", badSum},
        {"wrong stop byte", badStop},
        {"start byte claiming 200 bytes", {0x68, 0xC8, 0xC8, 0x68, 0xC8, 0xC8, 0xC8, 0xC8, 0xC8, 0xC8, 0xC8}},
        {"noise", noise(300, 7)},
    };
    for (const Case& c : cases) {
        ReplyJudge judge(s.request);
        judge.take(join({c.before, s.answer}));  // and nothing after: no later byte may be needed
        EXPECT_TRUE(judge.answered()) << s.name << ": " << c.what;
        EXPECT_GT(judge.noiseBytes(), 0u) << s.name << ": " << c.what;
        EXPECT_FALSE(judge.collided()) << "one meter addressed: noise is no collision";
    }
}

TEST_P(BothProtocols, WhyNoAnswerCameNamesTheDeepestFault) {
    const Side s = GetParam()();
    Bytes badSum = s.answer, badStop = s.answer;
    badSum[badSum.size() - 2] ^= 0x01;
    badStop.back() = 0x00;
    const std::pair<Bytes, const char*> cases[] = {
        {badSum, "checksum wrong"},
        {badStop, "stop byte wrong"},
        {Bytes(s.answer.begin(), s.answer.end() - 1), "frame incomplete"},
        {noise(20, 3), "no frame start"},
    };
    for (const auto& [bytes, why] : cases) {
        ReplyJudge judge(s.request);
        judge.take(bytes);
        EXPECT_FALSE(judge.answered()) << why;
        EXPECT_EQ(judge.whyNoAnswer(), why) << s.name;
    }
}

TEST_P(BothProtocols, WhereSeveralMayAnswerAnythingBeyondOneAnswerCollides) {
    Side s = GetParam()();
    s.request.severalMayAnswer = true;
    const std::pair<Bytes, bool> cases[] = {
        {s.answer, false},
        {join({s.request.bytes, s.answer}), false},  // the echo is no second meter
        {join({noise(5, 1), s.answer}), true},
        {join({s.answer, noise(5, 2)}), true},
        {join({s.answer, s.answer}), true},
    };
    for (const auto& [bytes, collided] : cases) {
        ReplyJudge judge(s.request);
        judge.take(bytes);
        EXPECT_TRUE(judge.answered()) << s.name;
        EXPECT_EQ(judge.collided(), collided) << s.name;
    }
}

TEST_P(BothProtocols, AnAnswerBehindAFloodIsFoundInBoundedSteps) {
    const Side s = GetParam()();
    // Random bytes of every value, in uneven chunks; this seed's noise holds
    // no whole frame of either protocol.
    std::mt19937 rng(17);
    Bytes flood(400'000);
    for (auto& b : flood) b = static_cast<std::uint8_t>(rng());
    ReplyJudge judge(s.request);
    for (std::size_t at = 0; at < flood.size();) {
        const std::size_t n = std::min<std::size_t>(1 + rng() % 4000, flood.size() - at);
        judge.take(std::span(flood).subspan(at, n));
        at += n;
    }
    ASSERT_FALSE(judge.answered()) << "choose another seed: the noise holds a frame";
    judge.take(s.answer);
    ASSERT_TRUE(judge.answered()) << s.name;
    EXPECT_EQ(judge.frame(), Bytes(s.answer.begin() + static_cast<long>(s.wakeUp), s.answer.end()));
}

INSTANTIATE_TEST_SUITE_P(Judge, BothProtocols, ::testing::Values(&cj188, &mbus),
                         [](const auto& info) { return info.index == 0 ? "Cj188" : "Mbus"; });

TEST(ReplyJudge, WhatCountsAsAnAnswer) {
    struct Case {
        const char* what;
        ExchangeRequest request;
        const char* line;
        bool answered;
    };
    const Case cases[] = {
        {"E5 to a read", mbusReadExchange(mbusReqUd2(1)), "E5", false},
        {"E5 to a write", mbusAcknowledgedExchange(mbusSetAddress(254, 5), "set"), "E5", true},
        {"M-Bus short frame to a read", mbusReadExchange(mbusReqUd2(1)), "10 40 05 45 16", false},
        {"M-Bus long frame to a write", mbusAcknowledgedExchange(mbusSetAddress(254, 5), "set"),
         "68 03 03 68 08 01 72 7B 16", false},
        // Past the echo, start, length and checksum alone make a frame an answer.
        {"a long frame, past the echo", mbusReadExchange(mbusReqUd2(1)),
         "00 68 06 06 68 53 FE 51 01 7A 05 22 16", true},
        {"CJ/T 188 frame of any control code", cj188ReadDataExchange(cj188ReadData(0x10, kCj188AnyAddress)),
         "68 10 01 00 00 00 00 00 00 01 03 1F 90 01 2D 16", true},
        {"CJ/T 188 error answer", cj188ReadDataExchange(cj188ReadData(0x10, kCj188AnyAddress)),
         "68 10 01 00 00 00 00 00 00 C1 03 01 00 00 3E 16", true},
        {"M-Bus L 255", mbusReadExchange(mbusReqUd2(1)), nullptr, true},
    };
    for (const Case& c : cases) {
        Bytes line;
        if (c.line) {
            line = HexBytes(c.line);
        } else {  // 68 FF FF 68 08 01 72, 252 bytes of 00, CS, 16
            line = HexBytes("68 FF FF 68 08 01 72");
            line.resize(4 + 255, 0x00);
            line.push_back(0x7B);
            line.push_back(0x16);
        }
        ReplyJudge judge(c.request);
        judge.take(line);
        EXPECT_EQ(judge.answered(), c.answered) << c.what;
    }
}

TEST(ReplyJudge, CarriedOverBytesOfAnAnswerFinishWithTheNextRequest) {
    ReplyJudge first(mbusReadExchange(mbusReqUd2(1)));
    first.take(std::span(kMbusAnswer).first(5));
    const Bytes carried = first.unjudgedBytes();
    EXPECT_EQ(carried, Bytes(kMbusAnswer.begin(), kMbusAnswer.begin() + 5));

    ReplyJudge next(mbusReadExchange(mbusReqUd2(1)));
    next.carryOver(carried);
    next.take(std::span(kMbusAnswer).subspan(5));
    EXPECT_TRUE(next.answered());
}

}  // namespace
}  // namespace mb
