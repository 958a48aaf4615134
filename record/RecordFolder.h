// The folder session records go to, opened so that nobody can redirect them:
// the folder and its parent are never followed through a symbolic link, the
// folder must belong to this user, and only folders created here are given
// owner-only permissions. A folder found open to others is reported, not changed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace mb {

// An open directory descriptor, closed with the object.
class FolderHandle {
public:
    FolderHandle() = default;
    explicit FolderHandle(int fd) : fd_(fd) {}
    ~FolderHandle();
    FolderHandle(FolderHandle&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FolderHandle& operator=(FolderHandle&& other) noexcept;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    int fd() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

struct RecordFolder {
    FolderHandle handle;             // open when the folder can be written to
    std::filesystem::path path;
    std::string error;               // why there is no folder; empty when open
    std::vector<std::string> notices;  // open, but worth saying (left open to others)
};

// Opens `dir` (absolute), creating it and any missing parents owner-only.
// The last two parts (".../MeterBench/logs") are never followed through a
// symbolic link, whether they exist or are made here.
RecordFolder openRecordFolder(const std::filesystem::path& dir);

// The folder's path, made as openRecordFolder makes it; `error` says why not.
bool makeRecordFolder(const std::filesystem::path& dir, std::string& error);

}  // namespace mb
