// Keeps the folder of session records from growing without end: when a
// session starts, the oldest records go until the rest fit the limits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mb {

struct RetentionLimits {
    std::size_t maxFiles = 100;
    std::uintmax_t maxBytes = std::uintmax_t{1} << 30;
};

// Where a session record's name puts it among the others: its start time,
// then the counter added when two sessions started in the same microsecond.
struct SessionFileOrder {
    std::string stamp;
    unsigned repeat = 0;
    auto operator<=>(const SessionFileOrder&) const = default;
};

// The order of a session record named `fileName` ("<fileStamp>.jsonl" or
// "<fileStamp>_<n>.jsonl"), or nothing for any other name: those files are
// not ours and retention leaves them alone.
std::optional<SessionFileOrder> sessionFileOrder(std::string_view fileName);

// Removes session records from the open folder `folderFd` (whose path is
// `dir`), oldest first, until the records left, `current` included, number at
// most maxFiles and total at most maxBytes. Only files MeterBench wrote count
// and go: regular files (no links) of this user with a session record's name.
// `current` itself is never removed. Returns the files removed; a file that
// cannot be removed is passed over.
std::vector<std::filesystem::path> applyRetention(int folderFd, const std::filesystem::path& dir,
                                                  const std::filesystem::path& current,
                                                  const RetentionLimits& limits);

// The same for the folder at `dir`, which is not followed when it is a link.
std::vector<std::filesystem::path> applyRetention(const std::filesystem::path& dir,
                                                  const std::filesystem::path& current,
                                                  const RetentionLimits& limits);

}  // namespace mb
