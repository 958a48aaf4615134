// The file a session record is written to: created new (never an existing
// file reused) in its folder, readable by this user only. Lines go in whole:
// when the system takes only part of a write (a full disk, a size limit), the
// caller cuts the file back to the end of a line, so no record ends torn.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "record/RecordFolder.h"
#include "record/RecordTime.h"

namespace mb {

class RecordFile {
public:
    // Opens `dir` (see openRecordFolder) and creates "<fileStamp(start)>.jsonl"
    // there, or "<stamp>_1.jsonl", "_2", ... when that name is taken. Check
    // isOpen() and error(); notices() holds what is worth saying about the folder.
    RecordFile(const std::filesystem::path& dir, RecordTimePoint start);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    const std::string& error() const { return error_; }
    const std::vector<std::string>& notices() const { return notices_; }
    const std::filesystem::path& path() const { return path_; }
    // Bytes in the file, as written here.
    std::uint64_t size() const { return size_; }
    // The folder, open: retention works in it without looking it up by name again.
    int folderFd() const { return folder_.fd(); }

    // Writes `text`; returns how many of its bytes reached the file, all of them
    // unless a write failed, in which case error() says why and the file stays open.
    std::size_t write(std::string_view text);
    // Cuts the file back to `length` bytes (the end of the last whole line).
    bool cutBackTo(std::uint64_t length);

    // False (with the reason kept) once the file is no longer at its path:
    // writing on would go to a file nobody can find.
    bool stillPresent();

private:
    void close();

    FolderHandle folder_;
    int fd_ = -1;
    std::string name_;
    std::filesystem::path path_;
    std::uint64_t size_ = 0;
    std::string error_;
    std::vector<std::string> notices_;
};

}  // namespace mb
