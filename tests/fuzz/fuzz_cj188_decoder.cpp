// Decodes arbitrary bytes as a CJ/T 188 frame and prints the reading both
// ways; checks what the views rely on: no records unless the check passed,
// every record keeps its bytes as hex, and the JSON is one line and one object,
// also when written straight from the values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "cj188/Cj188Decoder.h"
#include "cj188/Cj188ReadingView.h"
#include "core/ReadingJson.h"
#include "core/ReadingText.h"

namespace {

void repairChecksum(std::vector<std::uint8_t>& frame) {
    std::size_t start = 0;
    while (start < frame.size() && frame[start] == 0xFE) ++start;
    if (frame.size() < start + 11) return;
    const std::size_t end = start + 11 + frame[start + 10];  // index of CS
    if (frame.size() < end + 2) return;
    std::uint8_t sum = 0;
    for (std::size_t i = start; i < end; ++i) sum = static_cast<std::uint8_t>(sum + frame[i]);
    frame[end] = sum;
    frame[end + 1] = 0x16;
}

// "" or "0C 13 5A": two upper-case digits a byte, one blank between.
bool isHexGroups(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool digit = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
        if (i % 3 == 2 ? c != ' ' : !digit) return false;
    }
    return text.empty() || text.size() % 3 == 2;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // Copied so the sanitizer sees a read past the input as a heap overflow.
    // An odd first byte asks for the checksum and stop byte to be made right,
    // so mutated frames reach the data decoding and not only the check.
    std::vector<std::uint8_t> input(data + 1, data + size);
    if ((data[0] & 1) != 0) repairChecksum(input);
    const mb::Reading reading = mb::decodeCj188Frame(std::span(input));

    if (!reading.checkPassed && !reading.records.empty()) std::abort();
    if (!reading.error.empty() && (reading.checkPassed || !reading.header.empty())) std::abort();
    for (const mb::Record& record : reading.records) {
        if (!isHexGroups(record.rawHex)) std::abort();
        if (!record.error.empty() && !std::holds_alternative<std::monostate>(record.value)) std::abort();
    }

    const std::vector<std::string> lines = mb::readingLines(reading);
    if (lines.empty() && (!reading.error.empty() || !reading.header.empty())) std::abort();
    for (const std::string& line : lines) {
        for (char c : line) {
            if (static_cast<unsigned char>(c) < 0x20) std::abort();
        }
    }

    const std::string json = mb::readingJson(reading);
    if (json.empty() || json.front() != '{' || json.back() != '}') std::abort();
    if (json.find('\n') != std::string::npos) std::abort();

    // What decode --batch prints: written straight from the values.
    mb::Cj188Values values;
    mb::decodeCj188Values(std::span(input), values);
    std::string fromValues;
    mb::appendReadingJson(fromValues, mb::Cj188ReadingView(values));
    if (fromValues.empty() || fromValues.front() != '{' || fromValues.back() != '}') std::abort();
    mb::appendReadingText(fromValues, mb::Cj188ReadingView(values));
    return 0;
}
