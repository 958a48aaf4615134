// Throughput of the byte-level core: both reply parsers over a 16 MB stream of
// noise and valid frames, the hex echo of received bytes, and a whole receive
// event as the window runs it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "cj188/Cj188ReplyParser.h"
#include "cj188/Cj188Operations.h"
#include "mbus/MbusLongFrameParser.h"
#include "core/HexText.h"
#include "core/ProtocolCore.h"
#include "core/ReceiveRing.h"

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

template <void (*Parse)(mb::ReceiveRing&, mb::FrameCollector&, std::uint8_t&)>
void BM_Parser(benchmark::State& state, const Bytes& frame) {
    const Bytes stream = MixedStream(frame, 188);
    std::int64_t accepted = 0;
    for (auto _ : state) {
        mb::ReceiveRing ring;
        mb::FrameCollector collector;
        for (std::size_t at = 0; at < stream.size(); at += kEventBytes) {
            ring.ringFill(std::span(stream.data() + at, std::min(kEventBytes, stream.size() - at)));
            // Keep parsing until the event's bytes are used up, so the stream
            // is read as fast as the parser can go.
            for (;;) {
                std::uint8_t complete = 0;
                Parse(ring, collector, complete);
                if (complete == 0) break;
                ++accepted;
            }
        }
        benchmark::DoNotOptimize(collector.frameIndex);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
    state.counters["frames"] =
        benchmark::Counter(static_cast<double>(accepted) / static_cast<double>(state.iterations()));
}

void BM_ParseCj188Reply(benchmark::State& state) {
    BM_Parser<mb::parseCj188Reply>(state, kCj188Reply);
}
void BM_ParseMbusLongFrame(benchmark::State& state) {
    BM_Parser<mb::parseMbusLongFrame>(state, MbusReply());
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

// A whole receive event: count, echo, ring, parser, "Check Pass！" decision,
// with a new Read Data after each pass as continuous reading would send.
void BM_ReceiveEvent(benchmark::State& state) {
    const Bytes stream = MixedStream(kCj188Reply, 11);
    const mb::Cj188Fields fields{"0000050800", "00", "00", " - 10H"};
    std::int64_t passes = 0;
    std::string echo;
    for (auto _ : state) {
        mb::ProtocolCore core;
        mb::cj188ReadData(core, fields);
        for (std::size_t at = 0; at < stream.size(); at += kEventBytes) {
            echo.clear();
            if (core.onReceived(
                    std::span(stream.data() + at, std::min(kEventBytes, stream.size() - at)),
                    echo)) {
                ++passes;
                mb::cj188ReadData(core, fields);
            }
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
    state.counters["passes"] =
        benchmark::Counter(static_cast<double>(passes) / static_cast<double>(state.iterations()));
}

BENCHMARK(BM_ParseCj188Reply)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseMbusLongFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HexEcho)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReceiveEvent)->Unit(benchmark::kMillisecond);

}  // namespace
