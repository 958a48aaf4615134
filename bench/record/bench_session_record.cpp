// The session record under a receive flood: what a receive event costs the
// thread that reads the port, how fast the writer gets it all into the file,
// and how much memory the queue takes when the writer falls behind.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "record/SessionRecord.h"

namespace {

namespace fs = std::filesystem;
using mb::SessionRecord;

constexpr std::size_t kMiB = 1024 * 1024;

class BenchDir {
public:
    BenchDir() {
        std::string pattern = (fs::temp_directory_path() / "mb-bench-record-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
    }
    ~BenchDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::vector<std::uint8_t> eventBytes(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0x10});
    return bytes;
}

// Only the caller's side: the time bytes() takes while the writer runs beside
// it. The iteration count is fixed so that 64 MB is fed in all.
void BM_CallerSide(benchmark::State& state) {
    const auto event = eventBytes(static_cast<std::size_t>(state.range(0)));
    BenchDir dir;
    SessionRecord record(dir.path(), SessionRecord::TimePoint::clock::now());
    auto t = SessionRecord::TimePoint::clock::now();
    for (auto _ : state) {
        record.bytes(SessionRecord::Direction::rx, "COM1", event, t);
        t += std::chrono::microseconds(1);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * event.size()));
    record.flush();  // after the loop: not timed
}
BENCHMARK(BM_CallerSide)->Arg(256)->Iterations((64 * kMiB) / 256)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CallerSide)->Arg(4096)->Iterations((64 * kMiB) / 4096)->UseRealTime()->Unit(benchmark::kMillisecond);

// Feeding 64 MB and waiting until it is in the file: the writer's sustained
// rate, bytes received per second (the file holds three characters a byte).
void BM_SustainedWrite(benchmark::State& state) {
    const auto event = eventBytes(static_cast<std::size_t>(state.range(0)));
    const std::size_t events = (64 * kMiB) / event.size();
    for (auto _ : state) {
        state.PauseTiming();
        BenchDir dir;
        {
            SessionRecord record(dir.path(), SessionRecord::TimePoint::clock::now());
            record.flush();
            state.ResumeTiming();
            auto t = SessionRecord::TimePoint::clock::now();
            for (std::size_t i = 0; i < events; ++i) {
                record.bytes(SessionRecord::Direction::rx, "COM1", event, t);
                t += std::chrono::microseconds(1);
            }
            record.flush();
            state.PauseTiming();
            if (!record.error().empty()) state.SkipWithError(record.error().c_str());
            state.counters["file_MB"] = static_cast<double>(fs::file_size(record.path())) / kMiB;
        }
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * events * event.size()));
}
BENCHMARK(BM_SustainedWrite)->Arg(256)->Arg(4096)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);

// 100 MB fed as fast as the caller can, then the most memory the queue held.
void BM_PeakQueueMemory(benchmark::State& state) {
    const auto event = eventBytes(static_cast<std::size_t>(state.range(0)));
    const std::size_t events = (100 * kMiB) / event.size();
    for (auto _ : state) {
        BenchDir dir;
        SessionRecord record(dir.path(), SessionRecord::TimePoint::clock::now());
        record.flush();
        auto t = SessionRecord::TimePoint::clock::now();
        for (std::size_t i = 0; i < events; ++i) {
            record.bytes(SessionRecord::Direction::rx, "COM1", event, t);
            t += std::chrono::microseconds(1);
        }
        record.flush();
        state.counters["peak_queue_MB"] = static_cast<double>(record.peakQueueBytes()) / kMiB;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * events * event.size()));
}
BENCHMARK(BM_PeakQueueMemory)->Arg(256)->Arg(4096)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
