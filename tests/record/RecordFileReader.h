// Reads a session record back for the tests: a temporary folder that cleans
// up after itself, and a strict parser for the fixed shape of a record line.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mb::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

struct ParsedLine {
    std::string t;
    std::string port;
    std::string dir;
    std::string key;    // "hex" or "text"
    std::string value;  // unescaped
};

// Nothing when the line is not exactly {"t": ..., "port": ..., "dir": ..., "hex"|"text": ...}.
std::optional<ParsedLine> parseLine(std::string_view line);

// "10 5B 01" as bytes; nothing when malformed.
std::optional<std::vector<std::uint8_t>> parseHex(std::string_view hex);

std::vector<std::string> readLines(const std::filesystem::path& file);

// The one *.jsonl file in `dir`; throws when there are several.
std::filesystem::path onlyRecordIn(const std::filesystem::path& dir);

}  // namespace mb::test
