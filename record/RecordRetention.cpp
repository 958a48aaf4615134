#include "record/RecordRetention.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

namespace mb {

namespace fs = std::filesystem;

namespace {

// "2026-12-08T01-19-00.123456Z": 'd' a digit, anything else itself.
constexpr std::string_view kStampShape = "dddd-dd-ddTdd-dd-dd.ddddddZ";
constexpr std::string_view kExtension = ".jsonl";

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

struct SessionFile {
    fs::path path;
    SessionFileOrder order;
    std::uintmax_t size = 0;
};

}  // namespace

std::optional<SessionFileOrder> sessionFileOrder(std::string_view fileName) {
    if (fileName.size() < kStampShape.size() + kExtension.size() || !fileName.ends_with(kExtension)) {
        return std::nullopt;
    }
    const std::string_view stem = fileName.substr(0, fileName.size() - kExtension.size());
    for (std::size_t i = 0; i < kStampShape.size(); ++i) {
        const bool fits = kStampShape[i] == 'd' ? isDigit(stem[i]) : stem[i] == kStampShape[i];
        if (!fits) return std::nullopt;
    }
    SessionFileOrder order{std::string(stem.substr(0, kStampShape.size())), 0};
    std::string_view rest = stem.substr(kStampShape.size());
    if (rest.empty()) return order;
    if (rest.size() < 2 || rest.size() > 10 || rest[0] != '_') return std::nullopt;
    for (char c : rest.substr(1)) {
        if (!isDigit(c)) return std::nullopt;
        order.repeat = order.repeat * 10 + static_cast<unsigned>(c - '0');
    }
    return order;
}

std::vector<fs::path> applyRetention(int folderFd, const fs::path& dir, const fs::path& current,
                                     const RetentionLimits& limits) {
    std::vector<SessionFile> files;
    // The listing gets a descriptor of its own; closedir closes it.
    const int listFd = ::dup(folderFd);
    DIR* listing = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (listing == nullptr) {
        if (listFd >= 0) ::close(listFd);
        return {};
    }
    const uid_t user = ::geteuid();
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        const auto order = sessionFileOrder(name);
        struct stat st {};
        if (!order || ::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        // A link, a folder or another user's file is not ours even when its name looks so.
        if (!S_ISREG(st.st_mode) || st.st_uid != user) continue;
        files.push_back({dir / name, *order, static_cast<std::uintmax_t>(st.st_size)});
    }
    ::closedir(listing);
    std::sort(files.begin(), files.end(),
              [](const SessionFile& a, const SessionFile& b) { return a.order < b.order; });

    std::size_t count = files.size();
    std::uintmax_t total = 0;
    for (const auto& file : files) total += file.size;

    std::vector<fs::path> removed;
    for (const auto& file : files) {
        if (count <= limits.maxFiles && total <= limits.maxBytes) break;
        if (file.path.filename() == current.filename()) continue;
        if (::unlinkat(folderFd, file.path.filename().c_str(), 0) != 0) continue;
        removed.push_back(file.path);
        --count;
        total -= file.size;
    }
    return removed;
}

std::vector<fs::path> applyRetention(const fs::path& dir, const fs::path& current, const RetentionLimits& limits) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return {};
    auto removed = applyRetention(fd, dir, current, limits);
    ::close(fd);
    return removed;
}

}  // namespace mb
