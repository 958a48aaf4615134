// Every checksum-correct frame of the shared real-frame folder is found by the
// request scanner whatever the chunking and the wake-up bytes around it.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/core/RealFrames.h"
#include "tests/support/core/RequireRealFrames.h"
#include "tools/sim/request_scanner.h"

namespace mb::sim {
namespace {

TEST(RequestScannerRealFrames, EveryGoodFrameIsFoundInAnyChunking) {
    auto set = mb::test::LoadRealFrames(mb::test::RealFramesDir());
    if (!set.found) MB_REAL_FRAMES_MISSING(set.problem);
    std::mt19937 random(3);
    int checked = 0;
    for (const auto& frame : set.frames) {
        if (!frame.checksumOk) continue;
        std::size_t start = 0;
        while (start < frame.bytes.size() && frame.bytes[start] == 0xFE) ++start;
        const Bytes expected(frame.bytes.begin() + start, frame.bytes.end());
        Bytes line{0xFE, 0xFE, 0xE5, 0x16};
        line.insert(line.end(), frame.bytes.begin(), frame.bytes.end());
        for (int round = 0; round < 5; ++round) {
            RequestScanner scanner;
            std::vector<ScannedFrame> found;
            std::uniform_int_distribution<std::size_t> chunk(1, 17);
            for (std::size_t at = 0; at < line.size();) {
                const std::size_t size = std::min(chunk(random), line.size() - at);
                for (auto& f : scanner.feed(line.data() + at, size)) found.push_back(std::move(f));
                at += size;
            }
            ASSERT_EQ(found.size(), 1u) << frame.file << " round " << round;
            EXPECT_EQ(found[0].bytes, expected) << frame.file;
            EXPECT_EQ(found[0].kind == FrameKind::Cj188,
                      frame.protocol == mb::test::FrameProtocol::Cjt188)
                << frame.file;
        }
        ++checked;
    }
    EXPECT_GT(checked, 20) << "the frame folder holds fewer good frames than expected";
}

TEST(RequestScannerRealFrames, FramesWithABadChecksumAreNeverTakenForRequests) {
    auto set = mb::test::LoadRealFrames(mb::test::RealFramesDir());
    if (!set.found) MB_REAL_FRAMES_MISSING(set.problem);
    int checked = 0;
    for (const auto& frame : set.frames) {
        if (!frame.checksumKnown || frame.checksumOk) continue;
        EXPECT_TRUE(RequestScanner().feed(frame.bytes).empty()) << frame.file;
        ++checked;
    }
    EXPECT_GT(checked, 0) << "no frame with a wrong checksum in the folder";
}

}  // namespace
}  // namespace mb::sim
