#include "record/RecordFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace mb {

namespace fs = std::filesystem;

namespace {

constexpr mode_t kOwnerReadWrite = 0600;
// Enough for sessions started in the same microsecond by several programs.
constexpr int kMaxNameAttempts = 1000;

std::string systemError(int code) { return std::strerror(code); }

}  // namespace

RecordFile::RecordFile(const fs::path& dir, RecordTimePoint start) {
    RecordFolder folder = openRecordFolder(dir);
    notices_ = std::move(folder.notices);
    if (!folder.handle.isOpen()) {
        error_ = std::move(folder.error);
        return;
    }
    folder_ = std::move(folder.handle);
    const std::string stamp = fileStamp(start);
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        name_ = (attempt == 0 ? stamp : stamp + "_" + std::to_string(attempt)) + ".jsonl";
        path_ = dir / name_;
        // O_EXCL: fail rather than reuse a file that is there; O_NOFOLLOW: nor a link.
        fd_ = ::openat(folder_.fd(), name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                       kOwnerReadWrite);
        if (fd_ >= 0) break;
        if (errno != EEXIST) {
            error_ = path_.string() + " cannot be created: " + systemError(errno);
            return;
        }
    }
    if (fd_ < 0) {
        error_ = "no free name for a session record in " + dir.string();
        return;
    }
    // The umask may have narrowed the mode further; never wider than this.
    if (::fchmod(fd_, kOwnerReadWrite) != 0) {
        error_ = path_.string() + " cannot be made private: " + systemError(errno);
        close();
    }
}

RecordFile::~RecordFile() { close(); }

void RecordFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::size_t RecordFile::write(std::string_view text) {
    if (fd_ < 0) return 0;
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        // n == 0 or an error: the system takes no more (a size limit, a full disk).
        error_ = path_.string() + ": " + (n < 0 ? systemError(errno) : std::string("no room to write"));
        break;
    }
    size_ += done;
    if (done == text.size()) error_.clear();
    return done;
}

bool RecordFile::cutBackTo(std::uint64_t length) {
    if (fd_ < 0) return false;
    if (::ftruncate(fd_, static_cast<off_t>(length)) != 0 ||
        ::lseek(fd_, static_cast<off_t>(length), SEEK_SET) < 0) {
        return false;
    }
    size_ = length;
    return true;
}

bool RecordFile::stillPresent() {
    if (fd_ < 0) return false;
    struct stat here {};
    struct stat open {};
    const bool named = ::fstatat(folder_.fd(), name_.c_str(), &here, AT_SYMLINK_NOFOLLOW) == 0;
    if (::fstat(fd_, &open) == 0 && named && here.st_ino == open.st_ino && here.st_dev == open.st_dev) {
        return true;
    }
    error_ = path_.string() + " was removed; a new file is made when writing resumes";
    close();
    return false;
}

}  // namespace mb
