#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <fstream>
#include <map>
#include <random>
#include <thread>

#include "record/SessionRecord.h"
#include "tests/record/RecordFileReader.h"

namespace mb {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

const RecordTimePoint kStart = RecordTimePoint(sys_days(2026y / 12 / 8)) + 1h + 19min + 123456us;

std::vector<std::uint8_t> patternBytes(std::size_t size, std::uint32_t seed) {
    std::vector<std::uint8_t> bytes(size);
    std::mt19937 rng(seed);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
    return bytes;
}

unsigned modeOf(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return 0;
    return st.st_mode & 07777;
}

TEST(SessionRecordDirectory, DataHomeFirstThenHomeThenNothing) {
    struct Case {
        std::map<std::string, std::string> environment;
        const char* expected;
    };
    const Case cases[] = {
        {{{"XDG_DATA_HOME", "/data"}, {"HOME", "/home/u"}}, "/data/MeterBench/logs"},
        {{{"HOME", "/home/u"}}, "/home/u/.local/share/MeterBench/logs"},
        {{{"XDG_DATA_HOME", ""}, {"HOME", "/home/u"}}, "/home/u/.local/share/MeterBench/logs"},
        {{{"XDG_DATA_HOME", "relative/data"}, {"HOME", "/home/u"}}, "/home/u/.local/share/MeterBench/logs"},
        {{{"XDG_DATA_HOME", "relative/data"}}, ""},
        {{{"HOME", ""}}, ""},
        {{}, ""},
    };
    for (const auto& c : cases) {
        const auto lookup = [&](const char* name) -> const char* {
            const auto it = c.environment.find(name);
            return it == c.environment.end() ? nullptr : it->second.c_str();
        };
        EXPECT_EQ(SessionRecord::defaultDirectory(lookup), fs::path(c.expected));
    }
}

TEST(SessionRecordFile, NamedByStartTimeUniqueAndUserOnly) {
    test::TempDir temp;
    const fs::path dir = temp.path() / "share" / "MeterBench" / "logs";
    SessionRecord first(dir, kStart);
    SessionRecord second(dir, kStart);
    ASSERT_TRUE(first.isOpen()) << first.error();
    ASSERT_TRUE(second.isOpen()) << second.error();
    EXPECT_EQ(first.path().filename(), "2026-12-08T01-19-00.123456Z.jsonl");
    EXPECT_EQ(second.path().filename(), "2026-12-08T01-19-00.123456Z_1.jsonl");
    EXPECT_EQ(modeOf(first.path()), 0600u);
    EXPECT_EQ(modeOf(second.path()), 0600u);
    for (fs::path p = dir; p != temp.path(); p = p.parent_path()) EXPECT_EQ(modeOf(p), 0700u) << p;
}

TEST(SessionRecordFile, AnExistingOpenFolderIsMadeUserOnly) {
    test::TempDir temp;
    fs::permissions(temp.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
    SessionRecord record(temp.path(), kStart);
    ASSERT_TRUE(record.isOpen()) << record.error();
    EXPECT_EQ(modeOf(temp.path()), 0700u);
}

TEST(SessionRecordFile, HoldsEveryByteAndEventInOrderWithItsTime) {
    test::TempDir temp;
    struct Sent {
        std::string dir;
        std::string port;
        RecordTimePoint t;
        std::vector<std::uint8_t> bytes;
        std::string text;
    };
    std::vector<Sent> sent;
    std::mt19937 rng(2400);
    {
        SessionRecord record(temp.path(), kStart);
        ASSERT_TRUE(record.isOpen()) << record.error();
        for (int i = 0; i < 600; ++i) {
            const RecordTimePoint t = kStart + microseconds(i * 1013);
            const std::string port = i % 2 ? "COM1" : "COM12";
            if (i % 50 == 0) {
                const std::string text = "verdict " + std::to_string(i);
                record.event(port, text, t);
                sent.push_back({"event", port, t, {}, text});
                continue;
            }
            // Mostly frame-sized, now and then larger than a line holds.
            const std::size_t size = i % 37 == 0 ? 9000 + i : 1 + rng() % 300;
            auto bytes = patternBytes(size, static_cast<std::uint32_t>(i));
            record.bytes(i % 3 ? SessionRecord::Direction::rx : SessionRecord::Direction::tx, port, bytes, t);
            sent.push_back({i % 3 ? "rx" : "tx", port, t, std::move(bytes), {}});
        }
        record.flush();
        EXPECT_TRUE(record.isOpen()) << record.error();
        EXPECT_EQ(record.error(), "");
    }

    // Join the lines of a split event back together by their shared time.
    const auto lines = test::readLines(test::onlyRecordIn(temp.path()));
    std::size_t next = 0;
    for (const Sent& s : sent) {
        ASSERT_LT(next, lines.size());
        std::vector<std::uint8_t> joined;
        do {
            const auto parsed = test::parseLine(lines[next]);
            ASSERT_TRUE(parsed.has_value()) << lines[next];
            EXPECT_EQ(parsed->t, utcStamp(s.t));
            EXPECT_EQ(parsed->port, s.port);
            ASSERT_EQ(parsed->dir, s.dir);
            if (s.dir == "event") {
                EXPECT_EQ(parsed->value, s.text);
            } else {
                const auto chunk = test::parseHex(parsed->value);
                ASSERT_TRUE(chunk.has_value());
                EXPECT_LE(chunk->size(), kRecordBytesPerLine);
                joined.insert(joined.end(), chunk->begin(), chunk->end());
            }
            ++next;
        } while (s.dir != "event" && joined.size() < s.bytes.size());
        EXPECT_EQ(joined, s.bytes);
    }
    EXPECT_EQ(next, lines.size());
}

TEST(SessionRecordFile, AFloodFromTheReadingThreadArrivesWhole) {
    test::TempDir temp;
    constexpr std::size_t kTotal = 8u << 20;
    std::size_t events = 0;
    {
        SessionRecord record(temp.path(), kStart);
        // Another thread feeds, as the port's thread does, while this one flushes now and then.
        std::thread reader([&] {
            std::mt19937 rng(64);
            std::vector<std::uint8_t> chunk;
            for (std::size_t fed = 0; fed < kTotal; ++events) {
                const std::size_t size = std::min<std::size_t>(kTotal - fed, 200 + rng() % (64 * 1024));
                chunk.resize(size);
                // A running counter, so a lost, doubled or reordered byte shows.
                for (std::size_t i = 0; i < size; ++i) chunk[i] = static_cast<std::uint8_t>((fed + i) % 251);
                record.bytes(SessionRecord::Direction::rx, "COM1", chunk, kStart + microseconds(fed));
                fed += size;
            }
        });
        for (int i = 0; i < 5; ++i) record.flush();
        reader.join();
    }
    std::ifstream in(test::onlyRecordIn(temp.path()), std::ios::binary);
    std::size_t received = 0;
    bool inOrder = true;
    for (std::string line; std::getline(in, line);) {
        const auto parsed = test::parseLine(line);
        ASSERT_TRUE(parsed.has_value());
        const auto bytes = test::parseHex(parsed->value);
        ASSERT_TRUE(bytes.has_value());
        for (std::uint8_t b : *bytes) inOrder = inOrder && b == (received++) % 251;
    }
    EXPECT_EQ(received, kTotal);
    EXPECT_TRUE(inOrder);
    EXPECT_GT(events, 100u);  // the flood came as many events, not a few
}

TEST(SessionRecordFailure, AFolderThatCannotBeMadeIsReportedAndIgnoredSafely) {
    test::TempDir temp;
    std::ofstream(temp.path() / "plain-file") << "x";
    // A folder below a plain file fails for every user, root included.
    SessionRecord record(temp.path() / "plain-file" / "logs", kStart);
    EXPECT_FALSE(record.isOpen());
    EXPECT_NE(record.error().find("plain-file"), std::string::npos) << record.error();
    const std::uint8_t frame[] = {0x10, 0x5B, 0x01, 0x5C, 0x16};
    record.bytes(SessionRecord::Direction::tx, "COM1", frame, kStart);
    record.event("COM1", "connected", kStart);
    record.flush();
    EXPECT_FALSE(record.isOpen());
}

TEST(SessionRecordFailure, ARemovedFileStopsTheRecordWithAReason) {
    test::TempDir temp;
    SessionRecord record(temp.path(), kStart);
    record.event("COM1", "connected 2400,E,8,1", kStart);
    record.flush();
    ASSERT_TRUE(record.isOpen()) << record.error();
    EXPECT_EQ(test::readLines(record.path()).size(), 1u) << "flush() returned before the line was written";
    fs::remove(record.path());

    const auto bytes = patternBytes(1000, 1);
    record.bytes(SessionRecord::Direction::rx, "COM1", bytes, kStart + 1s);
    record.flush();
    EXPECT_FALSE(record.isOpen());
    EXPECT_NE(record.error().find("removed"), std::string::npos) << record.error();
    EXPECT_FALSE(fs::exists(record.path()));  // not quietly made again
    record.bytes(SessionRecord::Direction::rx, "COM1", bytes, kStart + 2s);
    record.flush();
}

TEST(SessionRecordFailure, AFullDiskStopsTheRecordWithTheSystemsReason) {
    // The file size limit fails a write the way a full disk does, in this process only.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    test::TempDir temp;
    {
        SessionRecord record(temp.path(), kStart);
        ASSERT_TRUE(record.isOpen()) << record.error();
        rlimit small = saved;
        small.rlim_cur = 64 * 1024;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const auto bytes = patternBytes(100 * 1024, 2);
        record.bytes(SessionRecord::Direction::rx, "COM1", bytes, kStart);
        record.flush();
        EXPECT_FALSE(record.isOpen());
        EXPECT_NE(record.error().find("too large"), std::string::npos) << record.error();
        record.event("COM1", "disconnected", kStart + 1s);
        record.flush();
        EXPECT_LE(fs::file_size(record.path()), 64u * 1024);
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);
}

TEST(SessionRecordRetention, StartingASessionPrunesTheOldestRecords) {
    test::TempDir temp;
    for (int minute = 0; minute < 4; ++minute) {
        char name[64];
        std::snprintf(name, sizeof name, "2026-12-08T00-%02d-00.000000Z.jsonl", minute);
        std::ofstream(temp.path() / name) << "{}\n";
    }
    std::ofstream(temp.path() / "notes.txt") << "kept";
    SessionRecord record(temp.path(), kStart, {.maxFiles = 3, .maxBytes = 1 << 20});
    record.flush();
    EXPECT_FALSE(fs::exists(temp.path() / "2026-12-08T00-00-00.000000Z.jsonl"));
    EXPECT_FALSE(fs::exists(temp.path() / "2026-12-08T00-01-00.000000Z.jsonl"));
    EXPECT_TRUE(fs::exists(temp.path() / "2026-12-08T00-02-00.000000Z.jsonl"));
    EXPECT_TRUE(fs::exists(temp.path() / "2026-12-08T00-03-00.000000Z.jsonl"));
    EXPECT_TRUE(fs::exists(record.path()));
    EXPECT_TRUE(fs::exists(temp.path() / "notes.txt"));
}

}  // namespace
}  // namespace mb
