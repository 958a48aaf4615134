#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "cli/BatchDecode.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/FrameInput.h"
#include "cli/Output.h"

namespace mb::cli {
namespace {

constexpr const char* kHelp =
    "usage: meterbench-cli decode [--json] FILE|HEX|-\n"
    "       meterbench-cli decode --batch [--json] FILE|-\n"
    "Decodes one M-Bus or CJ/T 188 frame given as hex text (blanks, line breaks and\n"
    "leading FE bytes allowed) from a file, the argument itself, or standard input (-).\n"
    "Stray bytes before a frame that passes its checks are skipped, and said so.\n"
    "  --json   one JSON object instead of the window's Data Analysis lines\n"
    "  --batch  one frame per line of FILE or standard input; blank lines and lines\n"
    "           starting with # are skipped. Each frame gives one result, headed\n"
    "           \"# line N\" (with --json: one JSON object a line, \"line\" first); each\n"
    "           frame that fails is named with its line number on standard error.\n"
    "Exit status: 0 the frame passes its checks, 1 it fails them, 2 not a frame or usage error;\n"
    "with --batch the worst of all frames.\n";

// The argument names a file when one exists by that name; else it is the hex itself.
bool readInput(const std::string& argument, std::string& text) {
    if (argument == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), {});
        return true;
    }
    std::ifstream file(argument, std::ios::binary);
    if (file) {
        std::ostringstream content;
        content << file.rdbuf();
        text = content.str();
        return true;
    }
    text = argument;
    return false;
}

// JSON says how many stray bytes came before the frame: "skipped_bytes": N
// as the object's first member, present only when some were.
std::string withSkippedBytes(std::string json, std::size_t skipped) {
    if (skipped == 0 || json.empty() || json.front() != '{') return json;
    json.insert(1, "\"skipped_bytes\":" + std::to_string(skipped) + ",");
    return json;
}

int batch(const std::string& argument, bool json) {
    if (argument == "-") {
        std::ios::sync_with_stdio(false);
        return decodeBatch(std::cin, json, stdout, stderr);
    }
    std::ifstream file(argument, std::ios::binary);
    if (!file) return usageError("cannot read " + argument);
    return decodeBatch(file, json, stdout, stderr);
}

}  // namespace

int decodeCommand(const Args& args) {
    std::string error;
    const auto options = parseOptions(args, {{}, {"--json", "--batch"}, 1}, error);
    if (!options) return usageError(error);
    if (options->help) {
        std::cout << kHelp;
        return kExitOk;
    }
    if (options->positional.empty()) return usageError("decode needs FILE, HEX or - (see decode --help)");
    const std::string& argument = options->positional[0];
    std::error_code ignored;
    if (std::filesystem::is_directory(argument, ignored)) {
        return usageError(argument + " is a directory, not a file holding a frame");
    }
    if (options->on("--batch")) return batch(argument, options->on("--json"));
    std::string text;
    const bool fromFile = readInput(argument, text);
    const auto bytes = parseHexText(text);
    if (!bytes) {
        return usageError(fromFile || argument == "-" ? "the input is not hex text"
                                                      : "no such file, and not hex text: " + argument);
    }
    const DecodedInput decoded = decodeAfterStrayBytes(*bytes);
    const Reading& reading = decoded.reading;
    const bool json = options->on("--json");
    std::cout << (json ? withSkippedBytes(readingOutput(reading, true), decoded.skipped)
                       : readingOutput(reading, false));
    if (decoded.skipped > 0 && !json) {
        std::cerr << "meterbench-cli: " << strayBytesText(*bytes, decoded.skipped) << '\n';
    }
    if (reading.checkPassed && reading.error.empty()) return kExitOk;
    if (hasFrameLength(*bytes)) return kExitNoValidReply;
    std::cerr << "meterbench-cli: not a frame: " << reading.error << '\n';
    return kExitUsage;
}

}  // namespace mb::cli
