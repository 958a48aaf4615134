// Decode throughput over every real CJ/T 188 frame with a good checksum, in
// frames per second on one core.
#include <benchmark/benchmark.h>

#include "cj188/Cj188Decoder.h"
#include "tests/support/core/RealFrames.h"

namespace {

std::vector<std::vector<std::uint8_t>> goodFrames() {
    std::vector<std::vector<std::uint8_t>> out;
    const auto set = mb::test::LoadRealFrames(mb::test::RealFramesDir());
    for (const auto& f : set.frames) {
        if (f.protocol == mb::test::FrameProtocol::Cjt188 && f.checksumOk) out.push_back(f.bytes);
    }
    return out;
}

void BM_DecodeRealCj188Frames(benchmark::State& state) {
    static const auto frames = goodFrames();
    if (frames.empty()) {
        state.SkipWithError("no real frames (MB_FRAMES_DIR)");
        return;
    }
    std::size_t records = 0;
    for (auto _ : state) {
        for (const auto& f : frames) {
            const mb::Reading r = mb::decodeCj188Frame(f);
            records += r.records.size();
            benchmark::DoNotOptimize(r);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * frames.size()));
    state.counters["records/frame"] = static_cast<double>(records) /
                                      static_cast<double>(state.iterations() * frames.size());
}
BENCHMARK(BM_DecodeRealCj188Frames);

}  // namespace
