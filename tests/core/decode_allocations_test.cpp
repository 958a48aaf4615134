// Decoding into values allocates nothing once the record buffer has grown:
// the reason values come first. Every allocation of this test program is
// counted by replacing the global operator new.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "cj188/Cj188Decoder.h"
#include "mbus/MbusDecoder.h"
#include "tests/support/core/RealFrames.h"
#include "tests/support/core/RequireRealFrames.h"

namespace {

std::atomic<long> allocations{0};

}  // namespace

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
// The library's temporary buffers take the nothrow form; it must come from the
// same allocator the deletes below return memory to.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++allocations;
    return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace mb {
namespace {

TEST(DecodeAllocations, AWarmDecodeOfEveryRealFrameAllocatesNothing) {
    const test::RealFrameSet set = test::LoadRealFrames(test::RealFramesDir());
    if (!set.found) MB_REAL_FRAMES_MISSING(set.problem);
    MbusValues mbus;
    Cj188Values cj188;
    auto decodeAll = [&] {
        for (const test::RealFrame& f : set.frames) {
            if (f.protocol == test::FrameProtocol::Mbus) {
                decodeMbusValues(f.bytes, mbus);
            } else {
                decodeCj188Values(f.bytes, cj188);
            }
        }
    };
    decodeAll();  // the M-Bus record buffer grows to the largest frame once
    const long before = allocations;
    decodeAll();
    EXPECT_EQ(allocations - before, 0);

    // A CJ/T 188 frame's fields fit a fixed array: not even a cold decode allocates.
    for (const test::RealFrame& f : set.frames) {
        if (f.protocol != test::FrameProtocol::Cjt188) continue;
        const long cold = allocations;
        Cj188Values fresh;
        decodeCj188Values(f.bytes, fresh);
        EXPECT_EQ(allocations - cold, 0) << f.file;
    }
}

}  // namespace
}  // namespace mb
