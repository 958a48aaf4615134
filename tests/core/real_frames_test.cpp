#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/core/ParserRig.h"
#include "tests/support/core/RealFrames.h"
#include "tests/support/core/RequireRealFrames.h"

namespace mb {
namespace {

using test::FrameProtocol;
using test::noiseWithout68;
using test::Parser;
using test::ParserRig;
using test::RealFrame;
using Bytes = std::vector<std::uint8_t>;

const test::RealFrameSet& Frames() {
    static const test::RealFrameSet set = test::LoadRealFrames(test::RealFramesDir());
    return set;
}

#define REQUIRE_REAL_FRAMES() \
    if (!Frames().found) MB_REAL_FRAMES_MISSING(Frames().problem)

Parser ParserFor(const RealFrame& f) {
    return f.protocol == FrameProtocol::Cjt188 ? Parser::Cj188 : Parser::Mbus;
}

// Index of the checksum byte inside the file's bytes.
std::size_t ChecksumIndex(const RealFrame& f) {
    if (f.protocol == FrameProtocol::Mbus) return 4u + f.bytes.at(1);
    std::size_t fe = 0;
    while (f.bytes.at(fe) == 0xFE) ++fe;
    return fe + 11u + f.bytes.at(fe + 10);
}

// Feeds `stream` in chunks whose sizes come from `sizes` (cycled); returns the
// stream index of the last byte of the event in which a frame was accepted
// first, or -1. Later events are still fed so a second acceptance is caught.
struct FeedResult {
    long acceptedThrough = -1;
    int acceptances = 0;
    std::int16_t readPosAtAccept = -1;
};

FeedResult Feed(ParserRig& rig, const Bytes& stream, const std::vector<std::size_t>& sizes) {
    FeedResult r;
    std::size_t at = 0;
    for (std::size_t k = 0; at < stream.size(); ++k) {
        const std::size_t n = std::min(sizes[k % sizes.size()], stream.size() - at);
        const bool accepted = rig.event(std::span<const std::uint8_t>(stream.data() + at, n));
        at += n;
        if (accepted && r.acceptances++ == 0) {
            r.acceptedThrough = static_cast<long>(at) - 1;
            r.readPosAtAccept = rig.ring.ringReadPos();
        }
    }
    return r;
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

TEST(RealFrames, GoodFramesAreAcceptedInAnyChunkingAfterAnyNoise) {
    REQUIRE_REAL_FRAMES();
    std::mt19937 rng(2049);
    for (const RealFrame& f : Frames().frames) {
        if (!f.checksumOk) continue;
        const std::size_t cs = ChecksumIndex(f);
        ASSERT_LT(cs, f.bytes.size()) << f.file;
        for (std::size_t noise : {0u, 1u, 5u, 300u, 2000u, 2040u}) {  // 2000+: across cell 2048
            Bytes stream = noiseWithout68(noise, static_cast<std::uint32_t>(noise + cs));
            stream.insert(stream.end(), f.bytes.begin(), f.bytes.end());
            for (const auto& sizes : Chunkings(stream.size(), rng)) {
                // One event larger than the ring would overwrite its own start.
                if (sizes.size() == 1 && sizes[0] > 2049) continue;
                ParserRig rig(ParserFor(f));
                const FeedResult r = Feed(rig, stream, sizes);
                ASSERT_EQ(r.acceptances, 1) << f.file << " noise " << noise;
                // Accepted in the event that brought the checksum byte, and
                // consumed exactly through it.
                std::size_t eventEnd = 0;
                std::size_t k = 0;
                while (eventEnd <= noise + cs) eventEnd += sizes[k++ % sizes.size()];
                EXPECT_EQ(r.acceptedThrough,
                          static_cast<long>(std::min(eventEnd, stream.size()) - 1))
                    << f.file;
                EXPECT_EQ(r.readPosAtAccept, static_cast<std::int16_t>((noise + cs + 1) % 2049))
                    << f.file;
            }
        }
    }
}

TEST(RealFrames, GoodFramesSurviveEveryTwoEventSplit) {
    REQUIRE_REAL_FRAMES();
    for (const RealFrame& f : Frames().frames) {
        if (!f.checksumOk) continue;
        for (std::size_t split = 0; split <= f.bytes.size(); ++split) {
            ParserRig rig(ParserFor(f));
            const bool first = rig.event(std::span(f.bytes.data(), split));
            const bool second =
                rig.event(std::span(f.bytes.data() + split, f.bytes.size() - split));
            EXPECT_NE(first, second) << f.file << " split " << split;
            EXPECT_EQ(first, split > ChecksumIndex(f)) << f.file << " split " << split;
        }
    }
}

TEST(RealFrames, BadChecksumFramesAreNeverAcceptedOnTheirOwn) {
    REQUIRE_REAL_FRAMES();
    std::mt19937 rng(188);
    int checked = 0;
    for (const RealFrame& f : Frames().frames) {
        if (f.checksumOk) continue;
        ++checked;
        for (const auto& sizes : Chunkings(f.bytes.size(), rng)) {
            ParserRig rig(ParserFor(f));
            EXPECT_EQ(Feed(rig, f.bytes, sizes).acceptances, 0) << f.file;
        }
    }
    EXPECT_GT(checked, 0) << "the index lists no frame with a bad checksum";
}

}  // namespace
}  // namespace mb
