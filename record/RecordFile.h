// The file a session record is written to: created new (never an existing
// file reused), readable by this user only, inside a directory that is
// readable by this user only, because it holds everything said on the line.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "record/RecordTime.h"

namespace mb {

// Creates `dir` and any missing parents with owner-only permissions and
// narrows `dir` itself to owner-only. On failure returns false with `error` set.
bool makePrivateDirectory(const std::filesystem::path& dir, std::string& error);

class RecordFile {
public:
    // Creates "<fileStamp(start)>.jsonl" in `dir`, or "<stamp>_1.jsonl",
    // "_2", ... when that name is taken. Check isOpen() and error().
    RecordFile(const std::filesystem::path& dir, RecordTimePoint start);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    const std::string& error() const { return error_; }
    const std::filesystem::path& path() const { return path_; }

    // Writes all of `text`; on the first failure closes the file, keeps the
    // reason and returns false, as does every later call.
    bool write(std::string_view text);

    // False (with the reason kept) once the file is no longer at its path:
    // writing on would go to a file nobody can find.
    bool stillPresent();

    // Hands what was written to the system (not a sync to the medium).
    bool flush();

private:
    void fail(std::string reason);

    std::FILE* file_ = nullptr;
    std::filesystem::path path_;
    std::string error_;
};

}  // namespace mb
