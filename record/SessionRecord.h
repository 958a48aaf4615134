// The record of one session on the line: every byte sent and received, every
// connect, disconnect and verdict, with its time to the microsecond, written
// as JSON lines (see RecordLine.h) to a file of its own, named by the
// session's start time.
//
// Recording never holds up the caller: bytes() and event() copy into a queue
// in memory and a writer thread formats and writes in large batches. Nothing
// queued is dropped while the file can be written.
//
// Losing the record is never silent. When the folder or file cannot be made
// or a write fails (a full disk, a removed file), the owner is told "cannot
// write: <reason>" once; what comes meanwhile is counted, not kept. A line
// that does not fit is cut back, so the file never ends torn. The writer tries
// again now and then (making a new file if the old one is gone); when writing
// resumes, the record notes the gap in a line of its own and the owner is told
// "writing resumed (N events lost)".
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "record/RecordFile.h"
#include "record/RecordLine.h"
#include "record/RecordRetention.h"
#include "record/RecordTime.h"

namespace mb {

// What the record tells its owner: that it cannot write and why, that writing
// resumed, or something about its folder that is worth knowing.
struct RecordNotice {
    bool writing = true;  // false: what is recorded now is being lost
    std::string text;
};

struct RecordOptions {
    RetentionLimits limits;
    // How often a broken record tries again, at most; only while there is something to write.
    std::chrono::milliseconds retryEvery{1000};
    // Called on the writer thread (or in the constructor), never under the record's lock.
    std::function<void(const RecordNotice&)> onNotice;
};

class SessionRecord {
public:
    using Direction = ByteDirection;
    using TimePoint = RecordTimePoint;
    // Reads one environment variable, null when unset: std::getenv in the program.
    using EnvironmentLookup = std::function<const char*(const char*)>;

    // $XDG_DATA_HOME/MeterBench/logs, else $HOME/.local/share/MeterBench/logs;
    // empty when neither is usable.
    static std::filesystem::path defaultDirectory(const EnvironmentLookup& environment);

    // Creates the file in `dir` (see RecordFile) and starts the writer, which
    // first removes old records beyond the limits.
    SessionRecord(const std::filesystem::path& dir, TimePoint start, RecordOptions options);
    SessionRecord(const std::filesystem::path& dir, TimePoint start, RetentionLimits limits = {})
        : SessionRecord(dir, start, RecordOptions{limits, std::chrono::milliseconds(1000), {}}) {}
    // Writes everything queued, then stops the writer.
    ~SessionRecord();
    SessionRecord(const SessionRecord&) = delete;
    SessionRecord& operator=(const SessionRecord&) = delete;

    // True while the file is being written: created, and the last write went in.
    bool isOpen() const;
    // Why the file cannot be created or written now; empty while all is well.
    std::string error() const;
    // The file written to (a new one after the old one was removed).
    std::filesystem::path path() const;

    void bytes(Direction direction, std::string_view port, std::span<const std::uint8_t> data, TimePoint t);
    void event(std::string_view port, std::string_view text, TimePoint t);
    // An exchange's verdict: the event's text followed by `members`, JSON
    // members of our own making (", \"verdict\": \"pass\", \"reading\": {...}").
    void exchange(std::string_view port, std::string_view text, std::string_view members, TimePoint t);

    // Returns once everything queued before the call is written to the file
    // (or counted lost), and old records have been pruned.
    void flush();

    // The most memory the queue has held at once, in bytes: for measurement.
    std::size_t peakQueueBytes() const;

private:
    enum class Kind : std::uint8_t { tx, rx, event, exchange };
    // An entry's port name and then its bytes or text follow each other in Block::data.
    struct Entry {
        TimePoint t;
        std::uint32_t portLength;
        std::uint32_t dataLength;
        std::uint32_t textLength;  // exchange: the text, then the members, in the data
        Kind kind;
    };
    struct Block {
        std::vector<Entry> entries;
        std::vector<char> data;
    };
    using Blocks = std::vector<std::unique_ptr<Block>>;

    void append(Kind kind, std::string_view port, std::span<const char> data, TimePoint t,
                std::uint32_t textLength = 0);
    Block& blockWithRoom(std::size_t bytes);
    std::unique_ptr<Block> newBlock(std::size_t bytes);
    void recycle(Blocks& blocks, Blocks& discard);
    void runWriter(RetentionLimits limits);
    void handle(const Blocks& blocks, std::string& out, UtcStampCache& stamps);
    bool writeBlocks(const Blocks& blocks, std::string& out, UtcStampCache& stamps);
    bool writeWholeEntries(std::string& out, std::size_t& entriesLeft);
    bool tryToResume();
    void broke(std::uint64_t lost);
    void tell(bool writing, std::string text);

    // Writer thread only, once the writer runs.
    std::filesystem::path dir_;
    std::unique_ptr<RecordFile> file_;
    std::function<void(const RecordNotice&)> onNotice_;
    std::chrono::milliseconds retryEvery_;
    std::chrono::steady_clock::time_point nextTry_{};
    bool broken_ = false;
    std::uint64_t lost_ = 0;
    std::string brokenBecause_;
    std::vector<std::size_t> entryEnds_;  // where each formatted entry ends in the text to write

    mutable std::mutex mutex_;
    std::condition_variable wakeWriter_;
    std::condition_variable written_;
    Blocks queued_;  // in order; the last one is being filled
    Blocks spare_;
    std::uint64_t entriesQueued_ = 0;
    std::uint64_t entriesWritten_ = 0;
    std::size_t blockBytes_ = 0;  // all blocks alive: queued, being written, spare
    std::size_t peakBlockBytes_ = 0;
    bool pruned_ = false;
    bool flushRequested_ = false;
    bool stopping_ = false;
    bool failed_ = false;  // mirrors broken_ for the callers
    std::string error_;
    std::filesystem::path path_;

    std::thread writer_;
};

}  // namespace mb
