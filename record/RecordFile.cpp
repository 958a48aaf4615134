#include "record/RecordFile.h"

#include <cerrno>
#include <system_error>

namespace mb {

namespace fs = std::filesystem;

namespace {

constexpr auto kOwnerOnlyDirectory = fs::perms::owner_all;
constexpr auto kOwnerOnlyFile = fs::perms::owner_read | fs::perms::owner_write;

// Enough for sessions started in the same microsecond by several programs.
constexpr int kMaxNameAttempts = 1000;

std::string describe(const std::string& what, const fs::path& path, const std::error_code& ec) {
    return what + " " + path.string() + ": " + ec.message();
}

}  // namespace

bool makePrivateDirectory(const fs::path& dir, std::string& error) {
    if (dir.empty()) {
        error = "no directory for the session record";
        return false;
    }
    std::error_code ec;
    fs::path partial;
    for (const auto& part : dir) {
        partial /= part;
        if (fs::is_directory(partial, ec)) continue;
        if (!fs::create_directory(partial, ec) && ec) {
            error = describe("cannot create", partial, ec);
            return false;
        }
        // The parents created here hold nothing else yet; keep them private too.
        fs::permissions(partial, kOwnerOnlyDirectory, fs::perm_options::replace, ec);
    }
    if (!fs::is_directory(dir, ec)) {
        error = describe("not a directory:", dir, ec ? ec : std::make_error_code(std::errc::not_a_directory));
        return false;
    }
    fs::permissions(dir, kOwnerOnlyDirectory, fs::perm_options::replace, ec);
    if (ec) {
        error = describe("cannot make private", dir, ec);
        return false;
    }
    return true;
}

RecordFile::RecordFile(const fs::path& dir, RecordTimePoint start) {
    if (!makePrivateDirectory(dir, error_)) return;
    const std::string stamp = fileStamp(start);
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        const std::string name = attempt == 0 ? stamp : stamp + "_" + std::to_string(attempt);
        path_ = dir / (name + ".jsonl");
        // "x": fail rather than reuse a file that is already there.
        errno = 0;
        file_ = std::fopen(path_.c_str(), "wbx");
        if (file_ != nullptr) break;
        if (errno != EEXIST) {
            error_ = "cannot create " + path_.string() + ": " + std::generic_category().message(errno);
            return;
        }
    }
    if (file_ == nullptr) {
        error_ = "cannot find a free name for the session record in " + dir.string();
        return;
    }
    // The writer hands over large batches itself; a stdio buffer would only copy them.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    std::error_code ec;
    fs::permissions(path_, kOwnerOnlyFile, fs::perm_options::replace, ec);
    if (ec) fail(describe("cannot make private", path_, ec));
}

RecordFile::~RecordFile() {
    if (file_ != nullptr) std::fclose(file_);
}

void RecordFile::fail(std::string reason) {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    if (error_.empty()) error_ = std::move(reason);
}

bool RecordFile::write(std::string_view text) {
    if (file_ == nullptr) return false;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) {
        const int code = errno;
        fail("cannot write " + path_.string() + ": " + (code != 0 ? std::generic_category().message(code) : std::string("write failed")));
        return false;
    }
    return true;
}

bool RecordFile::stillPresent() {
    if (file_ == nullptr) return false;
    std::error_code ec;
    if (!fs::exists(path_, ec)) {
        fail(path_.string() + " was removed; the session is no longer recorded");
        return false;
    }
    return true;
}

bool RecordFile::flush() {
    if (file_ == nullptr) return false;
    if (std::fflush(file_) != 0) {
        fail("cannot write " + path_.string() + ": " + std::generic_category().message(errno));
        return false;
    }
    return true;
}

}  // namespace mb
