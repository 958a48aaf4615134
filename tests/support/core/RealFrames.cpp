#include "tests/support/core/RealFrames.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace mb::test {
namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(
            line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Hex text with any whitespace between tokens; false on anything else.
bool ParseHexText(const std::string& text, std::vector<std::uint8_t>& bytes) {
    int high = -1;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (high >= 0) return false;  // a token of odd length
            continue;
        }
        const int value = HexValue(c);
        if (value < 0) return false;
        if (high < 0) {
            high = value;
        } else {
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + value));
            high = -1;
        }
    }
    return high < 0;
}

RealFrameSet Missing(std::string why) {
    RealFrameSet set;
    set.problem = std::move(why);
    return set;
}

}  // namespace

RealFrameSet LoadRealFrames(const std::string& dir) {
    namespace fs = std::filesystem;
    if (dir.empty()) return Missing("no frames folder configured (MB_FRAMES_DIR)");
    const fs::path index = fs::path(dir) / "index.tsv";
    std::ifstream in(index);
    if (!in) return Missing("real frames not found: " + index.string() + " is missing");

    RealFrameSet set;
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (header) {
            header = false;
            continue;
        }
        if (line.empty()) continue;
        const std::vector<std::string> f = SplitTabs(line);
        if (f.size() < 4) return Missing("malformed row in index.tsv: " + line);
        RealFrame frame;
        frame.file = f[0];
        if (f[1] == "mbus") {
            frame.protocol = FrameProtocol::Mbus;
        } else if (f[1] == "cjt188") {
            frame.protocol = FrameProtocol::Cjt188;
        } else {
            return Missing("unknown protocol in index.tsv: " + f[1]);
        }
        frame.checksumKnown = f[3] == "yes" || f[3] == "no";
        frame.checksumOk = f[3] == "yes";
        frame.notes = f.size() > 4 ? f[4] : std::string();

        std::ifstream hex(fs::path(dir) / frame.file);
        if (!hex) return Missing("cannot read frame file " + frame.file);
        std::stringstream text;
        text << hex.rdbuf();
        if (!ParseHexText(text.str(), frame.bytes)) return Missing("not plain hex: " + frame.file);
        set.frames.push_back(std::move(frame));
    }
    set.found = !set.frames.empty();
    if (!set.found) set.problem = "index.tsv lists no frames";
    return set;
}

}  // namespace mb::test
