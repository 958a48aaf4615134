#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "cj188/Cj188Protocol.h"
#include "cj188/Cj188Requests.h"
#include "core/ReplyJudge.h"
#include "mbus/MbusProtocol.h"
#include "mbus/MbusRequests.h"
#include "tests/support/core/RealFrames.h"
#include "tests/support/core/RequireRealFrames.h"

namespace mb {
namespace {

using test::FrameProtocol;
using test::RealFrame;
using Bytes = std::vector<std::uint8_t>;

const test::RealFrameSet& Frames() {
    static const test::RealFrameSet set = test::LoadRealFrames(test::RealFramesDir());
    return set;
}

#define REQUIRE_REAL_FRAMES() \
    if (!Frames().found) MB_REAL_FRAMES_MISSING(Frames().problem)

const Protocol& ProtocolOf(const RealFrame& f) {
    return f.protocol == FrameProtocol::Cjt188 ? cj188Protocol() : mbusProtocol();
}

// A request the frame could answer, to any meter (so no address note), as a
// write when the frame is an acknowledgement.
ExchangeRequest RequestFor(const RealFrame& f) {
    if (f.protocol == FrameProtocol::Cjt188)
        return cj188ReadDataExchange(cj188ReadData(0x10, kCj188AnyAddress));
    return f.bytes.size() == 1 ? mbusAcknowledgedExchange(mbusSndNke(kMbusAddressAny), "ping")
                               : mbusReadExchange(mbusReqUd2(kMbusAddressAny));
}

bool IsAnswer(const RealFrame& f, std::span<const std::uint8_t> frame) {
    const AnswerKind kind = ProtocolOf(f).classify(frame, {});
    return kind != AnswerKind::NotAnAnswer;
}

std::size_t WakeUpBytes(const RealFrame& f) {
    std::size_t fe = 0;
    while (fe < f.bytes.size() && ProtocolOf(f).isPreamble(f.bytes[fe])) ++fe;
    return fe;
}

// Random bytes of which none may start a frame of either protocol or wake a meter.
Bytes noise(std::size_t n, std::mt19937& rng) {
    Bytes bytes(n);
    for (auto& b : bytes) {
        do b = static_cast<std::uint8_t>(rng());
        while (b == 0x68 || b == 0x10 || b == 0xE5 || b == 0xFE);
    }
    return bytes;
}

std::vector<std::vector<std::size_t>> Chunkings(std::size_t streamSize, std::mt19937& rng) {
    std::vector<std::vector<std::size_t>> all = {{streamSize}, {1}, {2}, {7}, {64}};
    for (int k = 0; k < 4; ++k) {
        std::vector<std::size_t> sizes(32);
        for (auto& s : sizes) s = std::uniform_int_distribution<std::size_t>(1, 40)(rng);
        all.push_back(sizes);
    }
    return all;
}

TEST(RealFrames, IndexListsBothProtocols) {
    REQUIRE_REAL_FRAMES();
    int good[2] = {0, 0};
    for (const RealFrame& f : Frames().frames) {
        EXPECT_FALSE(f.bytes.empty()) << f.file;
        if (f.checksumOk) ++good[f.protocol == FrameProtocol::Mbus ? 0 : 1];
    }
    EXPECT_GT(good[0], 0);
    EXPECT_GT(good[1], 0);
}

TEST(RealFrames, GoodAnswersAreFoundInAnyChunkingAfterAnyNoise) {
    REQUIRE_REAL_FRAMES();
    std::mt19937 rng(2049);
    int answers = 0;
    for (const RealFrame& f : Frames().frames) {
        if (!f.checksumOk) continue;
        const std::size_t wakeUp = WakeUpBytes(f);
        const auto frame = std::span(f.bytes).subspan(wakeUp);
        const FrameCheck check = ProtocolOf(f).checkFrame(frame);
        ASSERT_EQ(check.status, FrameCheck::Status::Whole) << f.file << ": " << check.whyNot;
        EXPECT_EQ(check.length, frame.size()) << f.file;
        if (!IsAnswer(f, frame)) continue;  // a short frame: a request
        ++answers;
        for (std::size_t n : {0u, 1u, 5u, 300u, 2040u}) {
            Bytes stream = noise(n, rng);
            stream.insert(stream.end(), f.bytes.begin(), f.bytes.end());
            for (const auto& sizes : Chunkings(stream.size(), rng)) {
                ReplyJudge judge(RequestFor(f));
                for (std::size_t at = 0, k = 0; at < stream.size(); ++k) {
                    const std::size_t size = std::min(sizes[k % sizes.size()], stream.size() - at);
                    judge.take(std::span(stream).subspan(at, size));
                    at += size;
                    // Whole exactly when its last byte came.
                    EXPECT_EQ(judge.answered(), at == stream.size()) << f.file << " noise " << n;
                }
                EXPECT_EQ(judge.frame(), Bytes(frame.begin(), frame.end())) << f.file;
                EXPECT_EQ(judge.noiseBytes(), n) << f.file;
            }
        }
    }
    EXPECT_GT(answers, 50);
}

TEST(RealFrames, BadChecksumFramesAreNeverAnswers) {
    REQUIRE_REAL_FRAMES();
    std::mt19937 rng(188);
    int checked = 0;
    for (const RealFrame& f : Frames().frames) {
        if (f.checksumOk) continue;
        ++checked;
        for (const auto& sizes : Chunkings(f.bytes.size(), rng)) {
            ReplyJudge judge(RequestFor(f));
            for (std::size_t at = 0, k = 0; at < f.bytes.size(); ++k) {
                const std::size_t size = std::min(sizes[k % sizes.size()], f.bytes.size() - at);
                judge.take(std::span(f.bytes).subspan(at, size));
                at += size;
            }
            EXPECT_FALSE(judge.answered()) << f.file;
        }
    }
    EXPECT_GT(checked, 0) << "the index lists no frame with a bad checksum";
}

}  // namespace
}  // namespace mb
