#include "record/RecordFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace mb {

namespace fs = std::filesystem;

namespace {

constexpr mode_t kOwnerOnly = 0700;
// Parts of the path, counted from its end, that are never followed when a link.
constexpr std::size_t kUnfollowedParts = 2;

std::string systemError(int code) { return std::strerror(code); }

std::string modeText(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

// Why `name` in `parent` could not be opened as a folder, in words.
std::string openProblem(int parent, const std::string& name, const fs::path& path, int code) {
    struct stat st {};
    if (::fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISLNK(st.st_mode)) {
            return path.string() + " is a symbolic link; session records are not written through one";
        }
        if (!S_ISDIR(st.st_mode)) return path.string() + " is not a folder";
    }
    return path.string() + ": " + systemError(code);
}

}  // namespace

FolderHandle::~FolderHandle() {
    if (fd_ >= 0) ::close(fd_);
}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

RecordFolder openRecordFolder(const fs::path& dir) {
    RecordFolder folder;
    folder.path = dir;
    if (dir.empty() || !dir.is_absolute()) {
        folder.error = "no folder for session records (neither XDG_DATA_HOME nor HOME is set)";
        return folder;
    }
    std::vector<std::string> parts;
    for (const auto& part : dir.relative_path()) {
        if (!part.empty()) parts.push_back(part.string());
    }
    FolderHandle current(::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!current.isOpen()) {
        folder.error = "/: " + systemError(errno);
        return folder;
    }
    fs::path reached = "/";
    bool createdLast = false;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string& name = parts[i];
        reached /= name;
        const bool unfollowed = i + kUnfollowedParts >= parts.size();
        const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (unfollowed ? O_NOFOLLOW : 0);
        bool created = false;
        int fd = ::openat(current.fd(), name.c_str(), flags);
        if (fd < 0 && errno == ENOENT) {
            if (::mkdirat(current.fd(), name.c_str(), kOwnerOnly) == 0) {
                created = true;
            } else if (errno != EEXIST) {  // EEXIST: made meanwhile by someone else, not ours
                folder.error = reached.string() + " cannot be created: " + systemError(errno);
                return folder;
            }
            fd = ::openat(current.fd(), name.c_str(), flags);
        }
        if (fd < 0) {
            folder.error = openProblem(current.fd(), name, reached, errno);
            return folder;
        }
        FolderHandle next(fd);
        // Made here, so ours to narrow: the umask may have left it wider or narrower.
        if (created) ::fchmod(next.fd(), kOwnerOnly);
        current = std::move(next);
        createdLast = created;
    }
    struct stat st {};
    if (::fstat(current.fd(), &st) != 0) {
        folder.error = dir.string() + ": " + systemError(errno);
        return folder;
    }
    if (st.st_uid != ::geteuid()) {
        folder.error = dir.string() + " belongs to another user; session records are not written there";
        return folder;
    }
    if (!createdLast && (st.st_mode & 077) != 0) {
        folder.notices.push_back(dir.string() + " is open to other users (mode " + modeText(st.st_mode) +
                                 "); MeterBench leaves its mode as it is");
    }
    folder.handle = std::move(current);
    return folder;
}

bool makeRecordFolder(const fs::path& dir, std::string& error) {
    RecordFolder folder = openRecordFolder(dir);
    error = folder.error;
    return folder.handle.isOpen();
}

}  // namespace mb
