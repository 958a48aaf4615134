// The record of one session on the line: every byte sent and received, every
// connect, disconnect and verdict, with its time to the microsecond, written
// as JSON lines (see RecordLine.h) to a file of its own, named by the
// session's start time.
//
// Recording never holds up the caller: bytes() and event() copy into a queue
// in memory and a writer thread formats and writes in large batches. Nothing
// queued is dropped while the file can be written; after a write fails the
// record stops, keeps the reason (error()) and ignores what follows.
#pragma once

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

class SessionRecord {
public:
    using Direction = ByteDirection;
    using TimePoint = RecordTimePoint;
    // Reads one environment variable, null when unset: std::getenv in the program.
    using EnvironmentLookup = std::function<const char*(const char*)>;

    // $XDG_DATA_HOME/MeterBench/logs, else $HOME/.local/share/MeterBench/logs;
    // empty when neither is usable.
    static std::filesystem::path defaultDirectory(const EnvironmentLookup& environment);

    // Creates the file in `dir` (made if missing, owner-only) and starts the
    // writer, which first removes old records beyond `limits`.
    SessionRecord(const std::filesystem::path& dir, TimePoint start, RetentionLimits limits = {});
    // Writes everything queued, then stops the writer.
    ~SessionRecord();
    SessionRecord(const SessionRecord&) = delete;
    SessionRecord& operator=(const SessionRecord&) = delete;

    // True while the file is being written: created, and no write has failed.
    bool isOpen() const;
    // Why the file could not be created or written; empty while all is well.
    std::string error() const;
    std::filesystem::path path() const { return file_.path(); }

    void bytes(Direction direction, std::string_view port, std::span<const std::uint8_t> data, TimePoint t);
    void event(std::string_view port, std::string_view text, TimePoint t);

    // Returns once everything queued before the call is written to the file
    // (or the record has failed), and old records have been pruned.
    void flush();

    // The most memory the queue has held at once, in bytes: for measurement.
    std::size_t peakQueueBytes() const;

private:
    enum class Kind : std::uint8_t { tx, rx, event };
    // An entry's port name and then its bytes or text follow each other in Block::data.
    struct Entry {
        TimePoint t;
        std::uint32_t portLength;
        std::uint32_t dataLength;
        Kind kind;
    };
    struct Block {
        std::vector<Entry> entries;
        std::vector<char> data;
    };
    using Blocks = std::vector<std::unique_ptr<Block>>;

    void append(Kind kind, std::string_view port, std::span<const char> data, TimePoint t);
    Block& blockWithRoom(std::size_t bytes);
    std::unique_ptr<Block> newBlock(std::size_t bytes);
    void recycle(Blocks& blocks, Blocks& discard);
    void runWriter(RetentionLimits limits);
    bool writeBlocks(const Blocks& blocks, std::string& out, UtcStampCache& stamps);

    RecordFile file_;  // written by the writer thread only

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
    bool failed_ = false;
    std::string error_;

    std::thread writer_;
};

}  // namespace mb
