#include <gtest/gtest.h>

#include <vector>

#include "serial/ReceiveRing.h"

namespace mb {
namespace {

std::vector<std::uint8_t> Counting(std::size_t n, int first = 1) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<std::uint8_t>(first + static_cast<int>(i));
    return bytes;
}

TEST(ReceiveRingFill, StoresInOrderAndEchoes) {
    ReceiveRing ring;
    std::string echo;
    ring.RingFill(std::vector<std::uint8_t>{0x68, 0x01}, &echo);
    ring.RingFill(std::vector<std::uint8_t>{0x02}, &echo);
    EXPECT_EQ(echo, "68 01 02 ");
    EXPECT_EQ(ring.Cell(0), 0x68);
    EXPECT_EQ(ring.Cell(1), 0x01);
    EXPECT_EQ(ring.Cell(2), 0x02);
    EXPECT_EQ(ring.RingWritePos(), 3);
    EXPECT_TRUE(ring.RingHasData());
}

TEST(ReceiveRingFill, EmptyEventTouchesNothing) {
    ReceiveRing ring;
    std::string echo;
    ring.RingFill({}, &echo);
    EXPECT_FALSE(ring.RingHasData());
    EXPECT_EQ(ring.RingWritePos(), 0);
    EXPECT_EQ(echo, "");
}

TEST(ReceiveRingFill, Cell2048IsRealAndTheNextByteGoesToCell0) {
    ReceiveRing ring;
    ring.RingFill(Counting(2048, 0));
    EXPECT_EQ(ring.RingWritePos(), 2048);
    ring.RingFill(std::vector<std::uint8_t>{0xAB});
    EXPECT_EQ(ring.Cell(2048), 0xAB);
    EXPECT_EQ(ring.RingWritePos(), 0);
    ring.RingFill(std::vector<std::uint8_t>{0xCD});
    EXPECT_EQ(ring.Cell(0), 0xCD);
    EXPECT_EQ(ring.RingWritePos(), 1);
}

TEST(ReceiveRingFill, MoreThan2049UnreadBytesOverwriteTheOldest) {
    ReceiveRing ring;
    std::vector<std::uint8_t> bytes(2049 + 5);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i % 251);
    ring.RingFill(bytes);
    EXPECT_EQ(ring.RingWritePos(), 5);
    // The read position continues over the newer bytes without notice.
    EXPECT_EQ(ring.RingTake(), bytes[2049]);
    EXPECT_EQ(ring.Cell(5), bytes[5]);  // an old byte not yet overwritten
    // Bytes longer than the ring in one event: only positions mod 2049 matter.
    ReceiveRing big;
    big.RingFill(std::vector<std::uint8_t>(5000, 0x11));
    EXPECT_EQ(big.RingWritePos(), 5000 % 2049);
}

TEST(ReceiveRingReads, TakeConsumesAndPeekLooksAhead) {
    ReceiveRing ring;
    ring.RingFill(std::vector<std::uint8_t>{0x10, 0x20, 0x30});
    EXPECT_EQ(ring.RingTake(), 0x10);
    EXPECT_EQ(ring.Cell(0), 0);  // consumed cells are zeroed
    ring.StartScanAtReadPos();
    EXPECT_EQ(ring.RingPeek(), 0x20);
    EXPECT_EQ(ring.Cell(1), 0x20);  // a peek leaves the cell
    EXPECT_TRUE(ring.RingHasData());
    EXPECT_EQ(ring.RingPeek(), 0x30);
    EXPECT_FALSE(ring.RingHasData());  // the look-ahead reached RingWritePos
    EXPECT_EQ(ring.RingReadPos(), 1);
}

TEST(ReceiveRingReads, ReadsDoNotCheckHasData) {
    ReceiveRing ring;
    ring.RingFill(std::vector<std::uint8_t>{0x42});
    EXPECT_EQ(ring.RingTake(), 0x42);
    EXPECT_FALSE(ring.RingHasData());
    EXPECT_EQ(ring.RingTake(), 0);  // cell 1 was never written
    ring.StartScanAtReadPos();
    EXPECT_EQ(ring.RingPeek(), 0);
    EXPECT_EQ(ring.RingScanPos(), 3);
}

TEST(ReceiveRingReads, PositionsWrapAfter2048) {
    ReceiveRing ring;
    ring.RingFill(Counting(2049));
    ring.ClsChar(2048);
    EXPECT_EQ(ring.RingReadPos(), 2048);
    ring.StartScanAtReadPos();
    EXPECT_EQ(ring.RingPeek(), static_cast<std::uint8_t>(2049));
    EXPECT_EQ(ring.RingScanPos(), 0);
    EXPECT_EQ(ring.RingTake(), static_cast<std::uint8_t>(2049));
    EXPECT_EQ(ring.RingReadPos(), 0);
    EXPECT_FALSE(ring.RingHasData());  // RingWritePos wrapped to 0 as well
}

TEST(ClsChar, TargetEqualToReadPosDoesNothing) {
    ReceiveRing ring;
    ring.RingFill(std::vector<std::uint8_t>{1, 2, 3});
    ring.ClsChar(0);
    EXPECT_EQ(ring.RingReadPos(), 0);
    EXPECT_EQ(ring.Cell(0), 1);
    EXPECT_TRUE(ring.RingHasData());
}

TEST(ClsChar, StopsAtTheTargetAndZeroesWhatItConsumes) {
    ReceiveRing ring;
    ring.RingFill(std::vector<std::uint8_t>{1, 2, 3, 4});
    ring.ClsChar(2);
    EXPECT_EQ(ring.RingReadPos(), 2);
    EXPECT_EQ(ring.Cell(0), 0);
    EXPECT_EQ(ring.Cell(1), 0);
    EXPECT_EQ(ring.Cell(2), 3);
    EXPECT_TRUE(ring.RingHasData());
}

TEST(ClsChar, NeverPassesTheWritePosition) {
    ReceiveRing ring;
    ring.RingFill(std::vector<std::uint8_t>{1, 2, 3});
    ring.ClsChar(1000);
    EXPECT_EQ(ring.RingReadPos(), 3);
    EXPECT_FALSE(ring.RingHasData());
    EXPECT_EQ(ring.Cell(2), 0);
}

TEST(ClsChar, Target2048StopsAfterCell2047) {
    ReceiveRing ring;
    ring.RingFill(Counting(2049));  // write position wraps to 0
    ring.ClsChar(2048);
    EXPECT_EQ(ring.RingReadPos(), 2048);
    EXPECT_EQ(ring.Cell(2047), 0);
    EXPECT_EQ(ring.Cell(2048), static_cast<std::uint8_t>(2049));
    EXPECT_TRUE(ring.RingHasData());
}

TEST(ClsChar, WithTheScanTargetConsumesExactlyWhatWasPeeked) {
    ReceiveRing ring;
    ring.RingFill(std::vector<std::uint8_t>{9, 8, 7, 6, 5});
    ring.RingTake();
    ring.StartScanAtReadPos();
    ring.RingPeek();
    ring.RingPeek();
    ring.ClsChar(ring.RingScanPos());
    EXPECT_EQ(ring.RingReadPos(), 3);
    EXPECT_EQ(ring.Cell(1), 0);
    EXPECT_EQ(ring.Cell(2), 0);
    EXPECT_EQ(ring.Cell(3), 6);
    EXPECT_TRUE(ring.RingHasData());
}

// RingTakeThrough must leave exactly the state of the byte-by-byte loop.
TEST(RingTakeThrough, MatchesRepeatedRingTake) {
    const std::vector<std::size_t> fills = {1, 2, 5, 300, 2000, 2048, 2049, 2050, 4100};
    for (std::size_t firstFill : fills) {
        for (std::size_t secondFill : {0u, 1u, 60u, 2049u}) {
            for (std::size_t startAt : {0u, 7u, 1999u}) {
                std::vector<std::uint8_t> bytes = Counting(firstFill + secondFill, 3);
                if (startAt < bytes.size()) bytes[startAt] = 0x68;
                ReceiveRing bulk;
                bulk.RingFill(std::span(bytes).first(firstFill));
                bulk.ClsChar(static_cast<std::int16_t>(std::min<std::size_t>(firstFill / 2, 2048)));
                bulk.RingFill(std::span(bytes).subspan(firstFill));
                ReceiveRing single = bulk;
                while (bulk.RingHasData()) {
                    const bool found = bulk.RingTakeThrough(0x68);
                    bool singleFound = false;
                    while (single.RingHasData() && !singleFound)
                        singleFound = single.RingTake() == 0x68;
                    ASSERT_EQ(found, singleFound);
                    ASSERT_EQ(bulk.RingReadPos(), single.RingReadPos());
                    ASSERT_EQ(bulk.RingHasData(), single.RingHasData());
                }
                for (std::int16_t i = 0; i <= ReceiveRing::kLastCell; ++i) {
                    ASSERT_EQ(bulk.Cell(i), single.Cell(i)) << i;
                }
            }
        }
    }
}

// RingPeekRun must read what repeated RingPeek reads and stop where it stops.
TEST(RingPeekRun, MatchesRepeatedRingPeek) {
    for (std::size_t fill : {1u, 3u, 700u, 2048u, 2049u, 2100u}) {
        for (std::size_t takeFirst : {0u, 1u, 2040u}) {
            for (std::size_t max : {1u, 9u, 256u, 3000u}) {
                ReceiveRing run;
                run.RingFill(Counting(fill, 5));
                for (std::size_t i = 0; i < takeFirst && run.RingHasData(); ++i) run.RingTake();
                run.StartScanAtReadPos();
                run.RingFill(Counting(40, 9));
                ReceiveRing single = run;
                std::vector<std::uint8_t> got(max);
                const std::size_t n = run.RingPeekRun(got.data(), max);
                std::size_t expected = 0;
                while (expected < max && single.RingHasData()) {
                    ASSERT_EQ(got[expected], single.RingPeek()) << expected;
                    ++expected;
                }
                EXPECT_EQ(n, expected);
                EXPECT_EQ(run.RingScanPos(), single.RingScanPos());
                EXPECT_EQ(run.RingHasData(), single.RingHasData());
            }
        }
    }
}

}  // namespace
}  // namespace mb
