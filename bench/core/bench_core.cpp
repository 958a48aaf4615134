// Throughput of the byte-level core: the reply judge of both protocols over a
// 16 MB stream of noise and valid answers (a new request after each answer, as
// continuous reading sends them), and the hex echo of received bytes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <span>
#include <memory>
#include <string>
#include <vector>

#include "cj188/Cj188Requests.h"
#include "core/HexText.h"
#include "core/ReplyJudge.h"
#include "mbus/MbusRequests.h"

namespace {

constexpr std::size_t kStreamBytes = 16u << 20;
constexpr std::size_t kEventBytes = 1024;  // bytes per receive event

using Bytes = std::vector<std::uint8_t>;

const Bytes kCj188Reply = {0xFE, 0xFE, 0xFE, 0x68, 0x10, 0x01, 0x00, 0x00, 0x05, 0x08,
                           0x00, 0x00, 0x81, 0x16, 0x90, 0x1F, 0x00, 0x00, 0x23, 0x01,
                           0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00,
                           0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x48, 0x16};

Bytes MbusReply() {
    Bytes f = {0x68, 0x1B, 0x1B, 0x68, 0x08, 0x01, 0x72};
    for (int i = 0; i < 0x1B - 3; ++i) f.push_back(static_cast<std::uint8_t>(0x20 + i));
    unsigned sum = 0;
    for (std::size_t i = 4; i < f.size(); ++i) sum += f[i];
    f.push_back(static_cast<std::uint8_t>(sum));
    f.push_back(0x16);
    return f;
}

// Random noise (0x68 included, so false starts happen) with a valid frame
// after every 200..800 noise bytes.
Bytes MixedStream(const Bytes& frame, std::uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes stream;
    stream.reserve(kStreamBytes);
    while (stream.size() < kStreamBytes) {
        const std::size_t noise = std::uniform_int_distribution<std::size_t>(200, 800)(rng);
        for (std::size_t i = 0; i < noise && stream.size() < kStreamBytes; ++i) {
            stream.push_back(static_cast<std::uint8_t>(rng()));
        }
        for (std::uint8_t b : frame) {
            if (stream.size() < kStreamBytes) stream.push_back(b);
        }
    }
    return stream;
}

void BM_Judge(benchmark::State& state, const mb::ExchangeRequest& request, const Bytes& frame) {
    const Bytes stream = MixedStream(frame, 188);
    std::int64_t answers = 0;
    for (auto _ : state) {
        auto judge = std::make_unique<mb::ReplyJudge>(request);
        for (std::size_t at = 0; at < stream.size(); at += kEventBytes) {
            judge->take(std::span(stream.data() + at, std::min(kEventBytes, stream.size() - at)));
            if (!judge->answered()) continue;
            ++answers;
            // The next request starts from what this one left unjudged.
            const Bytes rest = judge->unjudgedBytes();
            judge = std::make_unique<mb::ReplyJudge>(request);
            judge->carryOver(rest);
        }
        benchmark::DoNotOptimize(judge->noiseBytes());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
    state.counters["answers"] =
        benchmark::Counter(static_cast<double>(answers) / static_cast<double>(state.iterations()));
}

void BM_JudgeCj188(benchmark::State& state) {
    BM_Judge(state, mb::cj188ReadDataExchange(mb::cj188ReadData(0x10, mb::kCj188AnyAddress)), kCj188Reply);
}
void BM_JudgeMbus(benchmark::State& state) {
    BM_Judge(state, mb::mbusReadExchange(mb::mbusReqUd2(1)), MbusReply());
}

void BM_HexEcho(benchmark::State& state) {
    const Bytes stream = MixedStream(kCj188Reply, 7);
    std::string pane;
    for (auto _ : state) {
        for (std::size_t at = 0; at < stream.size(); at += kEventBytes) {
            pane.clear();  // the window appends each event's echo and moves on
            mb::appendHexEcho(
                pane, std::span(stream.data() + at, std::min(kEventBytes, stream.size() - at)));
            benchmark::DoNotOptimize(pane.data());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
}

BENCHMARK(BM_JudgeCj188)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JudgeMbus)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HexEcho)->Unit(benchmark::kMillisecond);

}  // namespace
