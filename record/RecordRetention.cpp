#include "record/RecordRetention.h"

#include <algorithm>
#include <cctype>
#include <system_error>

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

std::vector<fs::path> applyRetention(const fs::path& dir, const fs::path& current, const RetentionLimits& limits) {
    std::vector<SessionFile> files;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const auto order = sessionFileOrder(it->path().filename().string());
        std::error_code entryError;
        // Symbolic links are not ours even when their name looks so.
        if (!order || !it->is_regular_file(entryError) || it->is_symlink(entryError)) continue;
        const std::uintmax_t size = it->file_size(entryError);
        files.push_back({it->path(), *order, entryError ? 0 : size});
    }
    std::sort(files.begin(), files.end(),
              [](const SessionFile& a, const SessionFile& b) { return a.order < b.order; });

    std::size_t count = files.size();
    std::uintmax_t total = 0;
    for (const auto& file : files) total += file.size;

    std::vector<fs::path> removed;
    for (const auto& file : files) {
        if (count <= limits.maxFiles && total <= limits.maxBytes) break;
        if (file.path.filename() == current.filename()) continue;
        std::error_code removeError;
        if (!fs::remove(file.path, removeError)) continue;
        removed.push_back(file.path);
        --count;
        total -= file.size;
    }
    return removed;
}

}  // namespace mb
