#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "cj188/Cj188ReplyParser.h"
#include "mbus/MbusLongFrameParser.h"
#include "tests/core/ParserRig.h"
#include "tests/support/core/HexBytes.h"

namespace mb {
namespace {

using test::HexBytes;
using test::noiseWithout68;
using test::Parser;
using test::ParserRig;
using Bytes = std::vector<std::uint8_t>;

const Bytes kCj188Example = HexBytes("FE FE 68 10 01 00 00 00 00 00 00 81 03 1F 90 00 AC 16");
const Bytes kMbusExample = HexBytes("68 03 03 68 08 01 72 7B 16");

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A CJ188-shaped frame with L data bytes of `fill` and a correct checksum.
Bytes Cj188Frame(int length, std::uint8_t fill = 0x11) {
    Bytes f = {0x68,
               0x10,
               0x01,
               0x02,
               0x03,
               0x04,
               0x05,
               0x06,
               0x07,
               0x81,
               static_cast<std::uint8_t>(length)};
    f.insert(f.end(), static_cast<std::size_t>(length), fill);
    f.push_back(static_cast<std::uint8_t>(std::accumulate(f.begin(), f.end(), 0u) & 0xFF));
    f.push_back(0x16);
    return f;
}

// An M-Bus long frame with L user-data bytes (C, A, CI, then `fill`).
Bytes MbusFrame(int length, std::uint8_t fill = 0x22) {
    const auto l = static_cast<std::uint8_t>(length);
    Bytes f = {0x68, l, l, 0x68};
    const Bytes head = {0x08, 0x05, 0x72};
    for (int i = 0; i < length; ++i) f.push_back(i < 3 ? head[static_cast<std::size_t>(i)] : fill);
    f.push_back(static_cast<std::uint8_t>(std::accumulate(f.begin() + 4, f.end(), 0u) & 0xFF));
    f.push_back(0x16);
    return f;
}

TEST(parseCj188Reply, WorkedExample) {
    ParserRig rig(Parser::Cj188);
    ASSERT_TRUE(rig.event(kCj188Example));
    EXPECT_EQ(rig.collector.frameIndex, 0);
    // Consumed up to and including the checksum; the stop byte stays unread.
    EXPECT_EQ(rig.ring.ringReadPos(), 17);
    EXPECT_EQ(rig.ring.cell(17), 0x16);
    EXPECT_TRUE(rig.ring.ringHasData());
    for (std::int16_t i = 0; i < 17; ++i) EXPECT_EQ(rig.ring.cell(i), 0) << i;
    EXPECT_EQ(Bytes(rig.collector.frameBuffer.begin(), rig.collector.frameBuffer.begin() + 14),
              Bytes(kCj188Example.begin() + 2, kCj188Example.begin() + 16));
}

TEST(parseMbusLongFrame, WorkedExample) {
    ParserRig rig(Parser::Mbus);
    ASSERT_TRUE(rig.event(kMbusExample));
    EXPECT_EQ(rig.ring.ringReadPos(), 8);
    EXPECT_EQ(rig.ring.cell(8), 0x16);
}

struct ShapeCase {
    Parser parser;
    Bytes frame;          // leading bytes and stop byte included
    std::size_t csIndex;  // where the checksum byte sits in `frame`
};

class BothShapes : public ::testing::TestWithParam<int> {
  protected:
    ShapeCase shape() const {
        if (GetParam() == 0) return {Parser::Cj188, kCj188Example, 16};
        return {Parser::Mbus, kMbusExample, 7};
    }
};

TEST_P(BothShapes, AcceptedAtTheChecksumByteWhenFedByteByByte) {
    const ShapeCase s = shape();
    ParserRig rig(s.parser);
    for (std::size_t i = 0; i < s.frame.size(); ++i) {
        const bool accepted = rig.event(Bytes{s.frame[i]});
        EXPECT_EQ(accepted, i == s.csIndex) << "byte " << i;
    }
}

TEST_P(BothShapes, AcceptedWhateverTheSplitIntoThreeEvents) {
    const ShapeCase s = shape();
    const std::size_t n = s.frame.size();
    for (std::size_t a = 0; a <= n; ++a) {
        for (std::size_t b = a; b <= n; ++b) {
            ParserRig rig(s.parser);
            int acceptedAt = -1;
            const std::size_t cuts[] = {0, a, b, n};
            for (int e = 0; e < 3; ++e) {
                const Bytes part(s.frame.begin() + static_cast<std::ptrdiff_t>(cuts[e]),
                                 s.frame.begin() + static_cast<std::ptrdiff_t>(cuts[e + 1]));
                if (rig.event(part)) {
                    EXPECT_EQ(acceptedAt, -1);
                    acceptedAt = e;
                }
            }
            const int expected = s.csIndex < a ? 0 : s.csIndex < b ? 1 : 2;
            EXPECT_EQ(acceptedAt, expected) << "cuts " << a << ", " << b;
        }
    }
}

TEST_P(BothShapes, LeadingNoiseWithoutStartBytesIsDropped) {
    const ShapeCase s = shape();
    for (std::size_t noise : {0u, 1u, 3u, 17u, 255u, 256u, 900u, 2000u}) {
        ParserRig rig(s.parser);
        EXPECT_FALSE(rig.event(noiseWithout68(noise, static_cast<std::uint32_t>(noise))));
        EXPECT_EQ(rig.collector.frameIndex, 0);
        EXPECT_TRUE(rig.event(s.frame)) << noise << " noise bytes";
    }
    ParserRig rig(s.parser);
    EXPECT_TRUE(rig.event(Concat({Bytes(40, 0xFE), s.frame})));
}

TEST_P(BothShapes, FrameStraddlingCell2048) {
    const ShapeCase s = shape();
    // Every start that puts some byte of the frame into cell 2048.
    for (std::size_t start = 2049 - s.frame.size(); start <= 2048; ++start) {
        ParserRig rig(s.parser);
        EXPECT_FALSE(rig.event(noiseWithout68(start, 7)));
        ASSERT_EQ(rig.ring.ringReadPos(), static_cast<std::int16_t>(start));
        ASSERT_TRUE(rig.event(s.frame)) << "start " << start;
        EXPECT_EQ(rig.ring.ringReadPos(),
                  static_cast<std::int16_t>((start + s.csIndex + 1) % 2049));
        EXPECT_EQ(rig.ring.cell(static_cast<std::int16_t>(start)), 0);
    }
}

TEST_P(BothShapes, WrongChecksumThenGoodFrame) {
    const ShapeCase s = shape();
    Bytes bad = s.frame;
    bad[s.csIndex] ^= 0x01;
    {
        ParserRig rig(s.parser);
        EXPECT_TRUE(rig.event(Concat({bad, s.frame})));  // same event
        EXPECT_EQ(rig.ring.ringReadPos(), static_cast<std::int16_t>(bad.size() + s.csIndex + 1));
    }
    {
        ParserRig rig(s.parser);
        EXPECT_FALSE(rig.event(bad));
        EXPECT_TRUE(rig.event(s.frame));  // a later event, no new request
    }
}

TEST_P(BothShapes, SecondCompleteFrameWaitsForTheNextCall) {
    const ShapeCase s = shape();
    ParserRig rig(s.parser);
    ASSERT_TRUE(rig.event(Concat({s.frame, s.frame})));
    const std::int16_t afterFirst = rig.ring.ringReadPos();
    EXPECT_EQ(afterFirst, static_cast<std::int16_t>(s.csIndex + 1));
    rig.parse();  // FrameComplete still set: nothing more is parsed
    EXPECT_EQ(rig.ring.ringReadPos(), afterFirst);
    EXPECT_TRUE(rig.event({}));  // the next event's call finds the second frame
    EXPECT_EQ(rig.ring.ringReadPos(), static_cast<std::int16_t>(s.frame.size() + s.csIndex + 1));
}

TEST_P(BothShapes, StopByteIsNeverExamined) {
    const ShapeCase s = shape();
    Bytes noStop(s.frame.begin(), s.frame.begin() + static_cast<std::ptrdiff_t>(s.csIndex + 1));
    ParserRig a(s.parser);
    EXPECT_TRUE(a.event(noStop));
    ParserRig b(s.parser);
    EXPECT_TRUE(b.event(Concat({noStop, Bytes{0x00}})));
}

INSTANTIATE_TEST_SUITE_P(Parsers, BothShapes, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param == 0 ? "Cj188" : "Mbus"; });

TEST(parseCj188Reply, StrayStartByteDelaysTheRealFrame) {
    ParserRig rig(Parser::Cj188);
    // The stray 68 takes its length from the real frame's C byte (0x81), so
    // its checksum position lies far beyond the frame.
    const Bytes reply(kCj188Example.begin() + 2, kCj188Example.end());  // no wake-up bytes
    EXPECT_FALSE(rig.event(Concat({Bytes{0x68}, reply})));
    EXPECT_GT(rig.collector.frameIndex, 0);
    // Once enough later bytes arrive the stray candidate fails, and hunting
    // resumes right after its start byte, which finds the real frame.
    EXPECT_TRUE(rig.event(Bytes(200, 0x00)));
    EXPECT_EQ(rig.ring.ringReadPos(), 1 + 15);
}

TEST(parseMbusLongFrame, StrayStartByteBeforeTheRealFrame) {
    ParserRig rig(Parser::Mbus);
    EXPECT_TRUE(rig.event(Concat({Bytes{0x68}, kMbusExample})));
    EXPECT_EQ(rig.ring.ringReadPos(), 1 + 8);
}

TEST(parseCj188Reply, LengthLimits) {
    for (int length : {0, 1, 3, 22, 243, 244}) {
        ParserRig rig(Parser::Cj188);
        EXPECT_TRUE(rig.event(Cj188Frame(length))) << "L=" << length;
    }
    for (int length = 245; length <= 255; ++length) {
        ParserRig rig(Parser::Cj188);
        EXPECT_FALSE(rig.event(Cj188Frame(length))) << "L=" << length;
        // The parser gives the long candidate up and still finds the next frame.
        EXPECT_TRUE(rig.event(Cj188Frame(3))) << "after L=" << length;
    }
}

TEST(parseMbusLongFrame, LengthLimits) {
    for (int length : {3, 100, 250, 251}) {
        ParserRig rig(Parser::Mbus);
        EXPECT_TRUE(rig.event(MbusFrame(length))) << "L=" << length;
    }
    // Below 3 there is no room for C, A and CI; above 251 no room in the buffer.
    for (int length : {1, 2, 252, 253, 254, 255}) {
        ParserRig rig(Parser::Mbus);
        EXPECT_FALSE(rig.event(MbusFrame(length))) << "L=" << length;
        EXPECT_TRUE(rig.event(MbusFrame(3))) << "after L=" << length;
    }
}

TEST(parseMbusLongFrame, NeverAcceptsLengthZero) {
    // 68 00 00 68 CS 16 with CS = 0, the sum of no bytes: index 4 restarts the
    // sum instead of being compared. The FE filler can form no frame either.
    ParserRig rig(Parser::Mbus);
    EXPECT_FALSE(rig.event(HexBytes("68 00 00 68 00 16")));
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(rig.event(Bytes(150, 0xFE)));
}

// A start whose header is not 68 L L 68 (bytes of a CJ/T 188 reply left in the
// ring, say) is dropped at once; the real frame right behind it still passes,
// in the same receive event.
TEST(parseMbusLongFrame, RejectsAHeaderThatIsNot68LL68) {
    const Bytes good = MbusFrame(3);
    for (const char* header : {"68 55 03 00", "68 03 03 67", "68 10 12 00", "68 02 02 68"}) {
        ParserRig rig(Parser::Mbus);
        Bytes stream = HexBytes(header);
        stream.insert(stream.end(), good.begin(), good.end());
        EXPECT_TRUE(rig.event(stream)) << header;
    }
}

TEST(parseMbusLongFrame, IgnoresAcknowledgeAndShortFrames) {
    ParserRig rig(Parser::Mbus);
    EXPECT_FALSE(rig.event(HexBytes("E5 10 5B 01 5C 16 E5")));
    EXPECT_EQ(rig.collector.frameIndex, 0);
    EXPECT_FALSE(rig.ring.ringHasData());
}

TEST(FrameParsers, CandidateContinuesAcrossAModeChange) {
    // Opened by the CJ188 parser, finished by the M-Bus parser.
    ParserRig rig(Parser::Cj188);
    EXPECT_FALSE(rig.event(HexBytes("68 06 06 68")));
    EXPECT_EQ(rig.collector.frameIndex, 4);
    rig.parser = Parser::Mbus;
    EXPECT_TRUE(rig.event(HexBytes("53 FE 51 01 7A 05 22 16")));

    // Opened by the M-Bus parser, finished by the CJ188 parser with the sum
    // carried over from the first bytes.
    ParserRig back(Parser::Mbus);
    EXPECT_FALSE(back.event(Bytes(kCj188Example.begin(), kCj188Example.begin() + 5)));
    EXPECT_EQ(back.collector.frameIndex, 3);
    back.parser = Parser::Cj188;
    EXPECT_TRUE(back.event(Bytes(kCj188Example.begin() + 5, kCj188Example.end())));
}

TEST(FrameParsers, NothingHappensWithoutDataOrWithFrameCompleteSet) {
    ParserRig rig(Parser::Cj188);
    rig.parse();
    EXPECT_EQ(rig.ring.ringReadPos(), 0);
    rig.ring.ringFill(kCj188Example);
    rig.frameComplete = 1;
    rig.parse();
    EXPECT_EQ(rig.ring.ringReadPos(), 0);
    EXPECT_EQ(rig.collector.frameIndex, 0);
}

}  // namespace
}  // namespace mb
