#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <fstream>
#include <map>
#include <mutex>
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

// What a record told its owner, in order (it tells from its writer thread).
class Notices {
public:
    RecordOptions options(milliseconds retryEvery = 0ms) {
        RecordOptions o;
        o.retryEvery = retryEvery;
        o.onNotice = [this](const RecordNotice& n) {
            std::lock_guard lock(mutex_);
            seen_.push_back((n.writing ? "+ " : "- ") + n.text);
        };
        return o;
    }
    // "- cannot write: ..." while failing, "+ ..." while writing.
    std::vector<std::string> seen() const {
        std::lock_guard lock(mutex_);
        return seen_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> seen_;
};

bool startsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

// Every line of the file is a whole record line; the file ends with a line's end.
void expectWholeLines(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(content.empty());
    EXPECT_EQ(content.back(), '\n') << "the record ends inside a line";
    for (const auto& line : test::readLines(file)) EXPECT_TRUE(test::parseLine(line).has_value()) << line;
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

// A folder MeterBench did not make keeps its mode; that it is open to others is said.
TEST(SessionRecordFile, AnExistingOpenFolderIsReportedNotChanged) {
    test::TempDir temp;
    fs::permissions(temp.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
    Notices notices;
    SessionRecord record(temp.path(), kStart, notices.options());
    ASSERT_TRUE(record.isOpen()) << record.error();
    EXPECT_EQ(modeOf(temp.path()), 0755u);
    EXPECT_EQ(modeOf(record.path()), 0600u);
    ASSERT_EQ(notices.seen().size(), 1u);
    EXPECT_EQ(notices.seen()[0], "+ " + temp.path().string() +
                                     " is open to other users (mode 0755); MeterBench leaves its mode as it is");
}

// A logs folder, or its parent, that is a symbolic link (to another user's
// folder, say) is not followed: nothing is written there, changed or removed.
TEST(SessionRecordFile, ASymbolicLinkForTheFolderOrItsParentIsNotFollowed) {
    test::TempDir temp;
    const fs::path other = temp.path() / "other";
    fs::create_directories(other / "logs");
    fs::permissions(other / "logs", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
    for (int minute = 0; minute < 3; ++minute) {
        char name[64];
        std::snprintf(name, sizeof name, "2026-12-08T00-%02d-00.000000Z.jsonl", minute);
        std::ofstream(other / "logs" / name) << "{}\n";
    }
    fs::create_directories(temp.path() / "a" / "MeterBench");
    fs::create_directory_symlink(other / "logs", temp.path() / "a" / "MeterBench" / "logs");
    fs::create_directory(temp.path() / "b");
    fs::create_directory_symlink(other, temp.path() / "b" / "MeterBench");

    for (const fs::path& dir : {temp.path() / "a" / "MeterBench" / "logs", temp.path() / "b" / "MeterBench" / "logs"}) {
        Notices notices;
        SessionRecord record(dir, kStart, notices.options());
        record.event("COM1", "connected 2400,E,8,1", kStart);
        record.flush();
        EXPECT_FALSE(record.isOpen()) << dir;
        EXPECT_NE(record.error().find("is a symbolic link"), std::string::npos) << record.error();
        ASSERT_FALSE(notices.seen().empty());
        EXPECT_TRUE(startsWith(notices.seen()[0], "- cannot write: ")) << notices.seen()[0];
    }
    std::size_t left = 0;
    for (const auto& entry : fs::directory_iterator(other / "logs")) left += entry.is_regular_file();
    EXPECT_EQ(left, 3u) << "another folder's files are neither removed nor added to";
    EXPECT_EQ(modeOf(other / "logs"), 0755u);
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

// A folder that cannot be made is said once; the record keeps working and
// resumes, noting the gap, once the folder can be made.
TEST(SessionRecordFailure, AFolderThatCannotBeMadeIsReportedAndWritingResumesLater) {
    test::TempDir temp;
    std::ofstream(temp.path() / "plain-file") << "x";
    // A folder below a plain file fails for every user, root included.
    const fs::path dir = temp.path() / "plain-file" / "logs";
    Notices notices;
    SessionRecord record(dir, kStart, notices.options());
    EXPECT_FALSE(record.isOpen());
    EXPECT_EQ(record.error(), (temp.path() / "plain-file").string() + " is not a folder");
    const std::uint8_t frame[] = {0x10, 0x5B, 0x01, 0x5C, 0x16};
    record.bytes(SessionRecord::Direction::tx, "COM1", frame, kStart);
    record.event("COM1", "connected", kStart);
    record.flush();
    EXPECT_FALSE(record.isOpen());

    fs::remove(temp.path() / "plain-file");
    record.event("COM1", "disconnected", kStart + 1s);
    record.flush();
    ASSERT_TRUE(record.isOpen()) << record.error();
    EXPECT_EQ(notices.seen(), (std::vector<std::string>{
                                  "- cannot write: " + (temp.path() / "plain-file").string() + " is not a folder",
                                  "+ writing resumed (2 events lost)"}));
    const auto lines = test::readLines(test::onlyRecordIn(dir));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(test::parseLine(lines[0])->value,
              "record gap: 2 events lost (" + (temp.path() / "plain-file").string() + " is not a folder)");
    EXPECT_EQ(test::parseLine(lines[1])->value, "disconnected");
}

// A removed file is said once; writing resumes in a new file that notes the gap.
TEST(SessionRecordFailure, ARemovedFileIsSaidAndANewFileTakesOver) {
    test::TempDir temp;
    Notices notices;
    SessionRecord record(temp.path(), kStart, notices.options());
    record.event("COM1", "connected 2400,E,8,1", kStart);
    record.flush();
    ASSERT_TRUE(record.isOpen()) << record.error();
    EXPECT_EQ(test::readLines(record.path()).size(), 1u) << "flush() returned before the line was written";
    const fs::path first = record.path();
    fs::remove(first);

    const auto bytes = patternBytes(1000, 1);
    record.bytes(SessionRecord::Direction::rx, "COM1", bytes, kStart + 1s);
    record.flush();
    EXPECT_FALSE(record.isOpen());
    EXPECT_NE(record.error().find("removed"), std::string::npos) << record.error();
    EXPECT_FALSE(fs::exists(first));  // not quietly made again under the old name

    record.event("COM1", "disconnected", kStart + 2s);
    record.flush();
    ASSERT_TRUE(record.isOpen()) << record.error();
    EXPECT_NE(record.path(), first);
    const auto lines = test::readLines(test::onlyRecordIn(temp.path()));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(startsWith(test::parseLine(lines[0])->value, "record gap: 1 event lost (")) << lines[0];
    EXPECT_EQ(test::parseLine(lines[1])->value, "disconnected");
    ASSERT_EQ(notices.seen().size(), 2u);
    EXPECT_TRUE(startsWith(notices.seen()[0], "- cannot write: " + first.string() + " was removed"));
    EXPECT_EQ(notices.seen()[1], "+ writing resumed (1 event lost)");
}

// A full disk (a file size limit fails a write the same way, in this process
// only): the line that does not fit is cut back whole, the loss is said once,
// and when there is room again the gap is noted and writing goes on.
TEST(SessionRecordFailure, AFullDiskLeavesNoTornLineAndTheGapIsNotedOnResuming) {
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    test::TempDir temp;
    Notices notices;
    {
        SessionRecord record(temp.path(), kStart, notices.options());
        ASSERT_TRUE(record.isOpen()) << record.error();
        record.event("COM1", "connected 2400,E,8,1", kStart);
        record.flush();
        rlimit small = saved;
        small.rlim_cur = 64 * 1024 + 7;  // not at the end of a line
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        for (int i = 0; i < 30; ++i) {
            record.bytes(SessionRecord::Direction::rx, "COM1", patternBytes(1000, i), kStart + milliseconds(i));
        }
        record.flush();
        EXPECT_FALSE(record.isOpen());
        EXPECT_NE(record.error().find("File too large"), std::string::npos) << record.error();
        expectWholeLines(record.path());
        const std::size_t linesWhenFull = test::readLines(record.path()).size();
        EXPECT_GT(linesWhenFull, 1u) << "what fitted is kept";

        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);
        record.event("COM1", "disconnected", kStart + 2s);
        record.flush();
        EXPECT_TRUE(record.isOpen()) << record.error();

        const auto lines = test::readLines(record.path());
        ASSERT_EQ(lines.size(), linesWhenFull + 2);
        const std::size_t lost = 30 - (linesWhenFull - 1);  // the receive events that did not fit
        EXPECT_TRUE(startsWith(test::parseLine(lines[linesWhenFull])->value,
                               "record gap: " + std::to_string(lost) + " events lost ("))
            << lines[linesWhenFull];
        EXPECT_EQ(test::parseLine(lines.back())->value, "disconnected");
        expectWholeLines(record.path());
        ASSERT_EQ(notices.seen().size(), 2u);
        EXPECT_TRUE(startsWith(notices.seen()[0], "- cannot write: ")) << notices.seen()[0];
        EXPECT_EQ(notices.seen()[1], "+ writing resumed (" + std::to_string(lost) + " events lost)");
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
