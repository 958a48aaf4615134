// Decode throughput over every real frame with a good checksum, per protocol,
// in frames per second on one core: values only, values and the Data Analysis
// text, values and the JSON object. The values and the output buffer are
// reused from frame to frame, as `decode --batch` does.
#include <benchmark/benchmark.h>

#include <string>

#include "cj188/Cj188Decoder.h"
#include "cj188/Cj188ReadingView.h"
#include "core/ReadingJson.h"
#include "core/ReadingText.h"
#include "mbus/MbusDecoder.h"
#include "mbus/MbusReadingView.h"
#include "tests/support/core/RealFrames.h"

namespace {

using mb::test::FrameProtocol;

enum class Output { None, Text, Json };

std::vector<std::vector<std::uint8_t>> goodFrames(FrameProtocol protocol) {
    std::vector<std::vector<std::uint8_t>> out;
    const auto set = mb::test::LoadRealFrames(mb::test::RealFramesDir());
    for (const auto& f : set.frames) {
        if (f.protocol == protocol && f.checksumOk) out.push_back(f.bytes);
    }
    return out;
}

struct Mbus {
    static constexpr FrameProtocol kProtocol = FrameProtocol::Mbus;
    using Values = mb::MbusValues;
    using View = mb::MbusReadingView;
    static void decode(std::span<const std::uint8_t> f, Values& v) { mb::decodeMbusValues(f, v); }
    static std::size_t records(const Values& v) { return v.records.size(); }
};

struct Cj188 {
    static constexpr FrameProtocol kProtocol = FrameProtocol::Cjt188;
    using Values = mb::Cj188Values;
    using View = mb::Cj188ReadingView;
    static void decode(std::span<const std::uint8_t> f, Values& v) { mb::decodeCj188Values(f, v); }
    static std::size_t records(const Values& v) { return v.recordCount; }
};

template <typename Protocol, Output output>
void decodeRealFrames(benchmark::State& state) {
    const auto frames = goodFrames(Protocol::kProtocol);
    if (frames.empty()) {
        state.SkipWithError("no real frames (MB_FRAMES_DIR)");
        return;
    }
    typename Protocol::Values values;
    const typename Protocol::View view(values);
    std::string out;
    std::size_t records = 0;
    for (auto _ : state) {
        for (const auto& f : frames) {
            Protocol::decode(f, values);
            records += Protocol::records(values);
            if constexpr (output == Output::Text) {
                out.clear();
                mb::appendReadingText(out, view);
            } else if constexpr (output == Output::Json) {
                out.clear();
                mb::appendReadingJson(out, view);
            }
            benchmark::DoNotOptimize(values);
            benchmark::DoNotOptimize(out.data());
        }
    }
    const auto decoded = static_cast<double>(state.iterations() * frames.size());
    state.counters["frames/s"] = benchmark::Counter(decoded, benchmark::Counter::kIsRate);
    state.counters["records/frame"] = static_cast<double>(records) / decoded;
}

// The owned Reading the window and the session record keep, for comparison.
template <typename Protocol>
void decodeToReading(benchmark::State& state) {
    const auto frames = goodFrames(Protocol::kProtocol);
    if (frames.empty()) {
        state.SkipWithError("no real frames (MB_FRAMES_DIR)");
        return;
    }
    for (auto _ : state) {
        for (const auto& f : frames) {
            const mb::Reading r = Protocol::kProtocol == FrameProtocol::Mbus ? mb::decodeMbusFrame(f)
                                                                             : mb::decodeCj188Frame(f);
            benchmark::DoNotOptimize(r);
        }
    }
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * frames.size()), benchmark::Counter::kIsRate);
}

BENCHMARK(decodeRealFrames<Mbus, Output::None>)->Name("mbus/values");
BENCHMARK(decodeRealFrames<Mbus, Output::Text>)->Name("mbus/values+text");
BENCHMARK(decodeRealFrames<Mbus, Output::Json>)->Name("mbus/values+json");
BENCHMARK(decodeToReading<Mbus>)->Name("mbus/reading");
BENCHMARK(decodeRealFrames<Cj188, Output::None>)->Name("cj188/values");
BENCHMARK(decodeRealFrames<Cj188, Output::Text>)->Name("cj188/values+text");
BENCHMARK(decodeRealFrames<Cj188, Output::Json>)->Name("cj188/values+json");
BENCHMARK(decodeToReading<Cj188>)->Name("cj188/reading");

}  // namespace
