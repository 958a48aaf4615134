#include "record/SessionRecord.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "core/CountText.h"

namespace mb {

namespace fs = std::filesystem;

namespace {

// A block holds many small events or one large one; filling blocks in place
// means the caller never waits for a large buffer to be reallocated.
constexpr std::size_t kBlockBytes = 256 * 1024;
constexpr std::size_t kBlockEntries = 4096;
// Blocks kept for reuse; beyond these, memory from a flood is given back.
constexpr std::size_t kSpareBlocks = 4;
// The writer wakes at the latest this often, or when a block is full.
constexpr auto kWriteInterval = std::chrono::milliseconds(100);
// Formatted text handed to the file at a time.
constexpr std::size_t kWriteChunk = 1024 * 1024;

std::size_t footprint(std::size_t dataCapacity, std::size_t entryCapacity, std::size_t entrySize) {
    return dataCapacity + entryCapacity * entrySize;
}

}  // namespace

fs::path SessionRecord::defaultDirectory(const EnvironmentLookup& environment) {
    const char* dataHome = environment("XDG_DATA_HOME");
    // Relative values are to be ignored, as for every XDG base directory.
    if (dataHome != nullptr && *dataHome != '\0' && fs::path(dataHome).is_absolute()) {
        return fs::path(dataHome) / "MeterBench" / "logs";
    }
    const char* home = environment("HOME");
    if (home != nullptr && *home != '\0') return fs::path(home) / ".local" / "share" / "MeterBench" / "logs";
    return {};
}

SessionRecord::SessionRecord(const fs::path& dir, TimePoint start, RecordOptions options)
    : dir_(dir),
      file_(std::make_unique<RecordFile>(dir, start)),
      onNotice_(std::move(options.onNotice)),
      retryEvery_(options.retryEvery) {
    path_ = file_->path();
    for (const std::string& notice : file_->notices()) tell(true, notice);
    if (!file_->isOpen()) {
        broken_ = failed_ = true;
        brokenBecause_ = error_ = file_->error();
        pruned_ = true;
        nextTry_ = std::chrono::steady_clock::now() + retryEvery_;
        tell(false, "cannot write: " + error_);
    }
    writer_ = std::thread([this, limits = options.limits] { runWriter(limits); });
}

SessionRecord::~SessionRecord() {
    if (!writer_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wakeWriter_.notify_one();
    writer_.join();
}

bool SessionRecord::isOpen() const {
    std::lock_guard lock(mutex_);
    return !failed_;
}

std::string SessionRecord::error() const {
    std::lock_guard lock(mutex_);
    return error_;
}

fs::path SessionRecord::path() const {
    std::lock_guard lock(mutex_);
    return path_;
}

void SessionRecord::tell(bool writing, std::string text) {
    if (onNotice_) onNotice_(RecordNotice{writing, std::move(text)});
}

std::size_t SessionRecord::peakQueueBytes() const {
    std::lock_guard lock(mutex_);
    return peakBlockBytes_;
}

void SessionRecord::bytes(Direction direction, std::string_view port, std::span<const std::uint8_t> data,
                          TimePoint t) {
    if (data.empty()) return;
    const auto* first = reinterpret_cast<const char*>(data.data());
    append(direction == Direction::tx ? Kind::tx : Kind::rx, port, {first, data.size()}, t);
}

void SessionRecord::event(std::string_view port, std::string_view text, TimePoint t) {
    append(Kind::event, port, {text.data(), text.size()}, t);
}

void SessionRecord::exchange(std::string_view port, std::string_view text, std::string_view members, TimePoint t) {
    std::string data;
    data.reserve(text.size() + members.size());
    data.append(text).append(members);
    append(Kind::exchange, port, {data.data(), data.size()}, t, static_cast<std::uint32_t>(text.size()));
}

void SessionRecord::append(Kind kind, std::string_view port, std::span<const char> data, TimePoint t,
                           std::uint32_t textLength) {
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        const std::size_t blocksBefore = queued_.size();
        Block& block = blockWithRoom(port.size() + data.size());
        block.data.insert(block.data.end(), port.begin(), port.end());
        block.data.insert(block.data.end(), data.begin(), data.end());
        block.entries.push_back({t, static_cast<std::uint32_t>(port.size()),
                                 static_cast<std::uint32_t>(data.size()), textLength, kind});
        ++entriesQueued_;
        // A block was filled: worth writing without waiting for the interval.
        wake = blocksBefore >= 1 && queued_.size() > blocksBefore;
    }
    if (wake) wakeWriter_.notify_one();
}

SessionRecord::Block& SessionRecord::blockWithRoom(std::size_t bytes) {
    if (!queued_.empty()) {
        Block& last = *queued_.back();
        const bool roomForData = last.data.size() + bytes <= last.data.capacity();
        if (roomForData && last.entries.size() < kBlockEntries) return last;
    }
    std::unique_ptr<Block> block;
    if (!spare_.empty() && bytes <= kBlockBytes) {
        block = std::move(spare_.back());
        spare_.pop_back();
    } else {
        block = newBlock(bytes);
    }
    queued_.push_back(std::move(block));
    return *queued_.back();
}

std::unique_ptr<SessionRecord::Block> SessionRecord::newBlock(std::size_t bytes) {
    auto block = std::make_unique<Block>();
    block->data.reserve(std::max(bytes, kBlockBytes));
    block->entries.reserve(kBlockEntries);
    blockBytes_ += footprint(block->data.capacity(), block->entries.capacity(), sizeof(Entry));
    peakBlockBytes_ = std::max(peakBlockBytes_, blockBytes_);
    return block;
}

void SessionRecord::recycle(Blocks& blocks, Blocks& discard) {
    for (auto& block : blocks) {
        const bool ordinary = block->data.capacity() == kBlockBytes;
        if (ordinary && spare_.size() < kSpareBlocks) {
            block->data.clear();
            block->entries.clear();
            spare_.push_back(std::move(block));
        } else {
            blockBytes_ -= footprint(block->data.capacity(), block->entries.capacity(), sizeof(Entry));
            discard.push_back(std::move(block));
        }
    }
    blocks.clear();
}

void SessionRecord::flush() {
    std::unique_lock lock(mutex_);
    const std::uint64_t target = entriesQueued_;
    flushRequested_ = true;
    wakeWriter_.notify_one();
    written_.wait(lock, [&] { return pruned_ && entriesWritten_ >= target; });
}

void SessionRecord::runWriter(RetentionLimits limits) {
    if (file_->isOpen()) applyRetention(file_->folderFd(), dir_, file_->path(), limits);
    std::string out;
    out.reserve(kWriteChunk + 64 * 1024);
    UtcStampCache stamps;
    Blocks taken;
    Blocks discard;  // freed outside the lock: giving back a flood's memory takes a while

    std::unique_lock lock(mutex_);
    pruned_ = true;
    written_.notify_all();
    for (;;) {
        wakeWriter_.wait_for(lock, kWriteInterval,
                             [&] { return stopping_ || flushRequested_ || queued_.size() > 1; });
        flushRequested_ = false;
        taken.swap(queued_);
        const std::uint64_t target = entriesQueued_;
        const bool stop = stopping_;

        if (!taken.empty()) {
            lock.unlock();
            handle(taken, out, stamps);
            lock.lock();
            failed_ = broken_;
            error_ = broken_ ? brokenBecause_ : std::string();
            path_ = file_->path();
        }
        entriesWritten_ = target;
        recycle(taken, discard);
        written_.notify_all();
        if (stop && queued_.empty()) return;
        if (!discard.empty()) {
            lock.unlock();
            discard.clear();
            lock.lock();
        }
    }
}

// Writes a batch, or counts it lost while the record is broken; a broken
// record tries to resume first when its time has come.
void SessionRecord::handle(const Blocks& blocks, std::string& out, UtcStampCache& stamps) {
    if (broken_ && std::chrono::steady_clock::now() >= nextTry_) {
        nextTry_ = std::chrono::steady_clock::now() + retryEvery_;
        tryToResume();
    }
    if (broken_) {
        for (const auto& block : blocks) lost_ += block->entries.size();
        return;
    }
    if (writeBlocks(blocks, out, stamps) && !file_->stillPresent()) {
        // Removed: what went into it is gone with it.
        std::uint64_t entries = 0;
        for (const auto& block : blocks) entries += block->entries.size();
        broke(entries);
    }
}

// The file is made again if it is gone; then the gap is noted in it.
bool SessionRecord::tryToResume() {
    if (!file_->isOpen()) {
        auto fresh = std::make_unique<RecordFile>(dir_, std::chrono::system_clock::now());
        if (!fresh->isOpen()) {
            brokenBecause_ = fresh->error();
            return false;
        }
        file_ = std::move(fresh);
    }
    std::string gap;
    appendEventLine(gap, utcStamp(std::chrono::system_clock::now()), "",
                    "record gap: " + countText(lost_, "event") + " lost (" + brokenBecause_ + ")");
    const std::uint64_t before = file_->size();
    if (file_->write(gap) != gap.size()) {
        file_->cutBackTo(before);
        brokenBecause_ = file_->error();
        return false;
    }
    broken_ = false;
    tell(true, "writing resumed (" + countText(lost_, "event") + " lost)");
    lost_ = 0;
    return true;
}

void SessionRecord::broke(std::uint64_t lost) {
    lost_ += lost;
    if (broken_) return;
    broken_ = true;
    brokenBecause_ = file_->error();
    nextTry_ = std::chrono::steady_clock::now() + retryEvery_;
    tell(false, "cannot write: " + brokenBecause_);
}

// Hands `out` to the file. When only part of it goes in, the file is cut back
// to the end of the last whole entry that did, and the rest counts as lost.
bool SessionRecord::writeWholeEntries(std::string& out, std::size_t& entriesLeft) {
    const std::uint64_t base = file_->size();
    const std::size_t written = file_->write(out);
    if (written == out.size()) {
        out.clear();
        entryEnds_.clear();
        return true;
    }
    const auto kept = static_cast<std::size_t>(
        std::upper_bound(entryEnds_.begin(), entryEnds_.end(), written) - entryEnds_.begin());
    file_->cutBackTo(base + (kept == 0 ? 0 : entryEnds_[kept - 1]));
    broke(entryEnds_.size() - kept + entriesLeft);
    out.clear();
    entryEnds_.clear();
    entriesLeft = 0;
    return false;
}

bool SessionRecord::writeBlocks(const Blocks& blocks, std::string& out, UtcStampCache& stamps) {
    std::size_t entriesLeft = 0;
    for (const auto& block : blocks) entriesLeft += block->entries.size();
    for (const auto& block : blocks) {
        const char* cursor = block->data.data();
        for (const Entry& entry : block->entries) {
            const std::string_view port(cursor, entry.portLength);
            cursor += entry.portLength;
            const std::string_view stamp = stamps.stamp(entry.t);
            if (entry.kind == Kind::event) {
                appendEventLine(out, stamp, port, std::string_view(cursor, entry.dataLength));
            } else if (entry.kind == Kind::exchange) {
                appendEventLine(out, stamp, port, std::string_view(cursor, entry.textLength),
                                std::string_view(cursor + entry.textLength, entry.dataLength - entry.textLength));
            } else {
                const auto* bytes = reinterpret_cast<const std::uint8_t*>(cursor);
                appendBytesLines(out, stamp, port, entry.kind == Kind::tx ? ByteDirection::tx : ByteDirection::rx,
                                 {bytes, entry.dataLength});
            }
            cursor += entry.dataLength;
            entryEnds_.push_back(out.size());
            --entriesLeft;
            if (out.size() >= kWriteChunk && !writeWholeEntries(out, entriesLeft)) return false;
        }
    }
    return writeWholeEntries(out, entriesLeft);
}

}  // namespace mb
