// Random bytes as a whole M-Bus frame, and the same bytes wrapped in a valid
// long frame so the fuzzer reaches the record decoder past the checksum.
// Checks the promises views rely on: no read outside the input (the
// sanitizers), a failed check leaves no records, every record keeps its bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/ReadingJson.h"
#include "core/ReadingText.h"
#include "mbus/MbusDecoder.h"
#include "mbus/MbusReadingView.h"

namespace {

void require(bool ok) {
    if (!ok) std::abort();
}

void check(const mb::Reading& r) {
    require(r.protocol == "mbus");
    require(r.checkPassed == (r.error.empty() && r.checkProblem.empty()));
    if (!r.checkPassed) require(r.records.empty() && r.header.empty());
    for (const auto& rec : r.records) require(!rec.rawHex.empty());
}

// What decode --batch prints, written straight from the values: one object, one line.
void checkValues(std::span<const std::uint8_t> frame) {
    mb::MbusValues values;
    mb::decodeMbusValues(frame, values);
    std::string json;
    mb::appendReadingJson(json, mb::MbusReadingView(values));
    require(!json.empty() && json.front() == '{' && json.back() == '}' && json.find('\n') == std::string::npos);
    std::string text;
    mb::appendReadingText(text, mb::MbusReadingView(values));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    check(mb::decodeMbusFrame(std::span<const std::uint8_t>(data, size)));
    checkValues(std::span<const std::uint8_t>(data, size));
    if (size == 0 || size > 252) return 0;
    // First byte picks C, the rest is CI and application data.
    std::vector<std::uint8_t> frame = {0x68, 0, 0, 0x68, data[0], 0x01};
    frame.insert(frame.end(), data + 1, data + size);
    if (frame.size() < 7) frame.push_back(0x72);
    frame[1] = frame[2] = static_cast<std::uint8_t>(frame.size() - 4);
    unsigned sum = 0;
    for (std::size_t i = 4; i < frame.size(); ++i) sum += frame[i];
    frame.push_back(static_cast<std::uint8_t>(sum));
    frame.push_back(0x16);
    // Exact-size copy so ASan catches a read one past the end.
    std::vector<std::uint8_t> exact(frame);
    exact.shrink_to_fit();
    const mb::Reading r = mb::decodeMbusFrame(exact);
    require(r.checkPassed);
    check(r);
    checkValues(exact);
    return 0;
}
