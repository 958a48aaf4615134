#include <gtest/gtest.h>

#include <vector>

#include "core/ReceiveRing.h"

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
    ring.ringFill(std::vector<std::uint8_t>{0x68, 0x01}, &echo);
    ring.ringFill(std::vector<std::uint8_t>{0x02}, &echo);
    EXPECT_EQ(echo, "68 01 02 ");
    EXPECT_EQ(ring.cell(0), 0x68);
    EXPECT_EQ(ring.cell(1), 0x01);
    EXPECT_EQ(ring.cell(2), 0x02);
    EXPECT_EQ(ring.ringWritePos(), 3);
    EXPECT_TRUE(ring.ringHasData());
}

TEST(ReceiveRingFill, EmptyEventTouchesNothing) {
    ReceiveRing ring;
    std::string echo;
    ring.ringFill({}, &echo);
    EXPECT_FALSE(ring.ringHasData());
    EXPECT_EQ(ring.ringWritePos(), 0);
    EXPECT_EQ(echo, "");
}

TEST(ReceiveRingFill, Cell2048IsRealAndTheNextByteGoesToCell0) {
    ReceiveRing ring;
    ring.ringFill(Counting(2048, 0));
    EXPECT_EQ(ring.ringWritePos(), 2048);
    ring.ringFill(std::vector<std::uint8_t>{0xAB});
    EXPECT_EQ(ring.cell(2048), 0xAB);
    EXPECT_EQ(ring.ringWritePos(), 0);
    ring.ringFill(std::vector<std::uint8_t>{0xCD});
    EXPECT_EQ(ring.cell(0), 0xCD);
    EXPECT_EQ(ring.ringWritePos(), 1);
}

TEST(ReceiveRingFill, MoreThan2049UnreadBytesOverwriteTheOldest) {
    ReceiveRing ring;
    std::vector<std::uint8_t> bytes(2049 + 5);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i % 251);
    ring.ringFill(bytes);
    EXPECT_EQ(ring.ringWritePos(), 5);
    // The read position continues over the newer bytes without notice.
    EXPECT_EQ(ring.ringTake(), bytes[2049]);
    EXPECT_EQ(ring.cell(5), bytes[5]);  // an old byte not yet overwritten
    // Bytes longer than the ring in one event: only positions mod 2049 matter.
    ReceiveRing big;
    big.ringFill(std::vector<std::uint8_t>(5000, 0x11));
    EXPECT_EQ(big.ringWritePos(), 5000 % 2049);
}

TEST(ReceiveRingReads, TakeConsumesAndPeekLooksAhead) {
    ReceiveRing ring;
    ring.ringFill(std::vector<std::uint8_t>{0x10, 0x20, 0x30});
    EXPECT_EQ(ring.ringTake(), 0x10);
    EXPECT_EQ(ring.cell(0), 0);  // consumed cells are zeroed
    ring.startScanAtReadPos();
    EXPECT_EQ(ring.ringPeek(), 0x20);
    EXPECT_EQ(ring.cell(1), 0x20);  // a peek leaves the cell
    EXPECT_TRUE(ring.ringHasData());
    EXPECT_EQ(ring.ringPeek(), 0x30);
    EXPECT_FALSE(ring.ringHasData());  // the look-ahead reached ringWritePos
    EXPECT_EQ(ring.ringReadPos(), 1);
}

TEST(ReceiveRingReads, ReadsDoNotCheckHasData) {
    ReceiveRing ring;
    ring.ringFill(std::vector<std::uint8_t>{0x42});
    EXPECT_EQ(ring.ringTake(), 0x42);
    EXPECT_FALSE(ring.ringHasData());
    EXPECT_EQ(ring.ringTake(), 0);  // cell 1 was never written
    ring.startScanAtReadPos();
    EXPECT_EQ(ring.ringPeek(), 0);
    EXPECT_EQ(ring.ringScanPos(), 3);
}

TEST(ReceiveRingReads, PositionsWrapAfter2048) {
    ReceiveRing ring;
    ring.ringFill(Counting(2049));
    ring.clsChar(2048);
    EXPECT_EQ(ring.ringReadPos(), 2048);
    ring.startScanAtReadPos();
    EXPECT_EQ(ring.ringPeek(), static_cast<std::uint8_t>(2049));
    EXPECT_EQ(ring.ringScanPos(), 0);
    EXPECT_EQ(ring.ringTake(), static_cast<std::uint8_t>(2049));
    EXPECT_EQ(ring.ringReadPos(), 0);
    EXPECT_FALSE(ring.ringHasData());  // ringWritePos wrapped to 0 as well
}

TEST(clsChar, TargetEqualToReadPosDoesNothing) {
    ReceiveRing ring;
    ring.ringFill(std::vector<std::uint8_t>{1, 2, 3});
    ring.clsChar(0);
    EXPECT_EQ(ring.ringReadPos(), 0);
    EXPECT_EQ(ring.cell(0), 1);
    EXPECT_TRUE(ring.ringHasData());
}

TEST(clsChar, StopsAtTheTargetAndZeroesWhatItConsumes) {
    ReceiveRing ring;
    ring.ringFill(std::vector<std::uint8_t>{1, 2, 3, 4});
    ring.clsChar(2);
    EXPECT_EQ(ring.ringReadPos(), 2);
    EXPECT_EQ(ring.cell(0), 0);
    EXPECT_EQ(ring.cell(1), 0);
    EXPECT_EQ(ring.cell(2), 3);
    EXPECT_TRUE(ring.ringHasData());
}

TEST(clsChar, NeverPassesTheWritePosition) {
    ReceiveRing ring;
    ring.ringFill(std::vector<std::uint8_t>{1, 2, 3});
    ring.clsChar(1000);
    EXPECT_EQ(ring.ringReadPos(), 3);
    EXPECT_FALSE(ring.ringHasData());
    EXPECT_EQ(ring.cell(2), 0);
}

TEST(clsChar, Target2048StopsAfterCell2047) {
    ReceiveRing ring;
    ring.ringFill(Counting(2049));  // write position wraps to 0
    ring.clsChar(2048);
    EXPECT_EQ(ring.ringReadPos(), 2048);
    EXPECT_EQ(ring.cell(2047), 0);
    EXPECT_EQ(ring.cell(2048), static_cast<std::uint8_t>(2049));
    EXPECT_TRUE(ring.ringHasData());
}

TEST(clsChar, WithTheScanTargetConsumesExactlyWhatWasPeeked) {
    ReceiveRing ring;
    ring.ringFill(std::vector<std::uint8_t>{9, 8, 7, 6, 5});
    ring.ringTake();
    ring.startScanAtReadPos();
    ring.ringPeek();
    ring.ringPeek();
    ring.clsChar(ring.ringScanPos());
    EXPECT_EQ(ring.ringReadPos(), 3);
    EXPECT_EQ(ring.cell(1), 0);
    EXPECT_EQ(ring.cell(2), 0);
    EXPECT_EQ(ring.cell(3), 6);
    EXPECT_TRUE(ring.ringHasData());
}

// ringTakeThrough must leave exactly the state of the byte-by-byte loop.
TEST(ringTakeThrough, MatchesRepeatedRingTake) {
    const std::vector<std::size_t> fills = {1, 2, 5, 300, 2000, 2048, 2049, 2050, 4100};
    for (std::size_t firstFill : fills) {
        for (std::size_t secondFill : {0u, 1u, 60u, 2049u}) {
            for (std::size_t startAt : {0u, 7u, 1999u}) {
                std::vector<std::uint8_t> bytes = Counting(firstFill + secondFill, 3);
                if (startAt < bytes.size()) bytes[startAt] = 0x68;
                ReceiveRing bulk;
                bulk.ringFill(std::span(bytes).first(firstFill));
                bulk.clsChar(static_cast<std::int16_t>(std::min<std::size_t>(firstFill / 2, 2048)));
                bulk.ringFill(std::span(bytes).subspan(firstFill));
                ReceiveRing single = bulk;
                while (bulk.ringHasData()) {
                    const bool found = bulk.ringTakeThrough(0x68);
                    bool singleFound = false;
                    while (single.ringHasData() && !singleFound)
                        singleFound = single.ringTake() == 0x68;
                    ASSERT_EQ(found, singleFound);
                    ASSERT_EQ(bulk.ringReadPos(), single.ringReadPos());
                    ASSERT_EQ(bulk.ringHasData(), single.ringHasData());
                }
                for (std::int16_t i = 0; i <= ReceiveRing::kLastCell; ++i) {
                    ASSERT_EQ(bulk.cell(i), single.cell(i)) << i;
                }
            }
        }
    }
}

// ringPeekRun must read what repeated ringPeek reads and stop where it stops.
TEST(ringPeekRun, MatchesRepeatedRingPeek) {
    for (std::size_t fill : {1u, 3u, 700u, 2048u, 2049u, 2100u}) {
        for (std::size_t takeFirst : {0u, 1u, 2040u}) {
            for (std::size_t max : {1u, 9u, 256u, 3000u}) {
                ReceiveRing run;
                run.ringFill(Counting(fill, 5));
                for (std::size_t i = 0; i < takeFirst && run.ringHasData(); ++i) run.ringTake();
                run.startScanAtReadPos();
                run.ringFill(Counting(40, 9));
                ReceiveRing single = run;
                std::vector<std::uint8_t> got(max);
                const std::size_t n = run.ringPeekRun(got.data(), max);
                std::size_t expected = 0;
                while (expected < max && single.ringHasData()) {
                    ASSERT_EQ(got[expected], single.ringPeek()) << expected;
                    ++expected;
                }
                EXPECT_EQ(n, expected);
                EXPECT_EQ(run.ringScanPos(), single.ringScanPos());
                EXPECT_EQ(run.ringHasData(), single.ringHasData());
            }
        }
    }
}

}  // namespace
}  // namespace mb
