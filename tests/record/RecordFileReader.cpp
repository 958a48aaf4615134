#include "tests/record/RecordFileReader.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace mb::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "mb-record-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

namespace {

// Consumes `literal` from the front of `rest`.
bool take(std::string_view& rest, std::string_view literal) {
    if (!rest.starts_with(literal)) return false;
    rest.remove_prefix(literal.size());
    return true;
}

// Consumes a JSON string from the front of `rest`, unescaped into `out`.
bool takeString(std::string_view& rest, std::string& out) {
    if (!take(rest, "\"")) return false;
    out.clear();
    while (!rest.empty()) {
        const char c = rest.front();
        rest.remove_prefix(1);
        if (c == '"') return true;
        if (static_cast<unsigned char>(c) < 0x20) return false;  // must have been escaped
        if (c != '\\') {
            out += c;
            continue;
        }
        if (rest.empty()) return false;
        const char e = rest.front();
        rest.remove_prefix(1);
        switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                if (rest.size() < 4) return false;
                const std::string digits(rest.substr(0, 4));
                char* end = nullptr;
                const unsigned long codePoint = std::strtoul(digits.c_str(), &end, 16);
                // The record escapes only control characters this way.
                if (end != digits.c_str() + 4 || codePoint >= 0x20) return false;
                out += static_cast<char>(codePoint);
                rest.remove_prefix(4);
                break;
            }
            default: return false;
        }
    }
    return false;
}

}  // namespace

std::optional<ParsedLine> parseLine(std::string_view line) {
    ParsedLine parsed;
    std::string_view rest = line;
    if (!take(rest, "{\"t\": ") || !takeString(rest, parsed.t)) return std::nullopt;
    if (!take(rest, ", \"port\": ") || !takeString(rest, parsed.port)) return std::nullopt;
    if (!take(rest, ", \"dir\": ") || !takeString(rest, parsed.dir)) return std::nullopt;
    if (!take(rest, ", ") || !takeString(rest, parsed.key) || !take(rest, ": ")) return std::nullopt;
    if (!takeString(rest, parsed.value) || !take(rest, "}") || !rest.empty()) return std::nullopt;
    const bool bytesLine = (parsed.dir == "tx" || parsed.dir == "rx") && parsed.key == "hex";
    const bool eventLine = parsed.dir == "event" && parsed.key == "text";
    if (!bytesLine && !eventLine) return std::nullopt;
    return parsed;
}

std::optional<std::vector<std::uint8_t>> parseHex(std::string_view hex) {
    std::vector<std::uint8_t> bytes;
    const auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;  // lower case is not what the record writes
    };
    for (std::size_t i = 0; i < hex.size(); i += 3) {
        if (i + 2 > hex.size() || (i + 2 < hex.size() && hex[i + 2] != ' ')) return std::nullopt;
        const int hi = nibble(hex[i]);
        const int lo = nibble(hex[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    if (!hex.empty() && hex.back() == ' ') return std::nullopt;
    return bytes;
}

std::vector<std::string> readLines(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

fs::path onlyRecordIn(const fs::path& dir) {
    fs::path found;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".jsonl") continue;
        if (!found.empty()) throw std::runtime_error("more than one record in " + dir.string());
        found = entry.path();
    }
    return found;
}

}  // namespace mb::test
