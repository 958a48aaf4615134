// Decode throughput over every real frame with a good checksum, per protocol,
// in frames per second on one core.
#include <benchmark/benchmark.h>

#include "cj188/Cj188Decoder.h"
#include "mbus/MbusDecoder.h"
#include "tests/support/core/RealFrames.h"

namespace {

using Decoder = mb::Reading (*)(std::span<const std::uint8_t>);

std::vector<std::vector<std::uint8_t>> goodFrames(mb::test::FrameProtocol protocol) {
    std::vector<std::vector<std::uint8_t>> out;
    const auto set = mb::test::LoadRealFrames(mb::test::RealFramesDir());
    for (const auto& f : set.frames) {
        if (f.protocol == protocol && f.checksumOk) out.push_back(f.bytes);
    }
    return out;
}

void decodeRealFrames(benchmark::State& state, mb::test::FrameProtocol protocol, Decoder decode) {
    const auto frames = goodFrames(protocol);
    if (frames.empty()) {
        state.SkipWithError("no real frames (MB_FRAMES_DIR)");
        return;
    }
    std::size_t records = 0;
    for (auto _ : state) {
        for (const auto& f : frames) {
            const mb::Reading r = decode(f);
            records += r.records.size();
            benchmark::DoNotOptimize(r);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * frames.size()));
    state.counters["records/frame"] = static_cast<double>(records) /
                                      static_cast<double>(state.iterations() * frames.size());
}

BENCHMARK_CAPTURE(decodeRealFrames, mbus, mb::test::FrameProtocol::Mbus, &mb::decodeMbusFrame);
BENCHMARK_CAPTURE(decodeRealFrames, cj188, mb::test::FrameProtocol::Cjt188, &mb::decodeCj188Frame);

}  // namespace
