#include "mbus/AppHeader.h"

#include <cstdio>

#include "mbus/Medium.h"

namespace mb {
namespace {

std::uint16_t word(std::uint8_t first, std::uint8_t second, bool msbFirst) {
    return msbFirst ? static_cast<std::uint16_t>(first << 8 | second)
                    : static_cast<std::uint16_t>(second << 8 | first);
}

void appendStatusAndSignature(std::vector<HeaderField>& header, std::uint8_t access, std::uint8_t status,
                              std::uint16_t signature) {
    header.push_back({"access_number", "Access number", std::int64_t{access}});
    header.push_back({"status", "Status", std::int64_t{status}});
    header.push_back({"status_text", "Status bits", statusText(status)});
    header.push_back({"signature", "Signature", std::int64_t{signature}});
    if (const unsigned mode = encryptionMode(signature)) {
        header.push_back({"encryption_mode", "Encryption mode", std::int64_t{mode}});
    }
}

}  // namespace

std::string idDigits(std::span<const std::uint8_t, 4> b, bool msbFirst) {
    // The BCD digits are the hex digits, so a wildcard or a non-BCD nibble shows as it was sent.
    char text[12];
    if (msbFirst) {
        std::snprintf(text, sizeof text, "%02X%02X%02X%02X", b[0], b[1], b[2], b[3]);
    } else {
        std::snprintf(text, sizeof text, "%02X%02X%02X%02X", b[3], b[2], b[1], b[0]);
    }
    return text;
}

std::string manufacturerText(std::uint16_t code) {
    std::string text(3, '@');
    text[0] = static_cast<char>(((code >> 10) & 0x1F) + 64);
    text[1] = static_cast<char>(((code >> 5) & 0x1F) + 64);
    text[2] = static_cast<char>((code & 0x1F) + 64);
    return text;
}

std::string statusText(std::uint8_t status) {
    std::string text;
    auto add = [&](const char* what) {
        if (!text.empty()) text += ", ";
        text += what;
    };
    switch (status & 3) {
        case 1: add("application busy"); break;
        case 2: add("application error"); break;
        case 3: add("abnormal condition / alarm"); break;
        default: break;
    }
    if (status & 0x04) add("power low");
    if (status & 0x08) add("permanent error");
    if (status & 0x10) add("temporary error");
    if (status & 0xE0) add("manufacturer-specific bits set");
    return text.empty() ? "OK" : text;
}

unsigned encryptionMode(std::uint16_t signature) {
    // Only the modes with a defined cipher count: older meters fill this word
    // with FF FF or other values that were reserved when they were built.
    const unsigned mode = (signature >> 8) & 0x1F;
    switch (mode) {
        case 2: case 3: case 4: case 5: case 7: case 8: case 9: case 10: case 13: return mode;
        default: return 0;
    }
}

void appendLongHeader(std::vector<HeaderField>& header, std::span<const std::uint8_t, 12> b, bool msbFirst) {
    header.push_back({"id", "Identification", idDigits(b.first<4>(), msbFirst)});
    header.push_back({"manufacturer", "Manufacturer", manufacturerText(word(b[4], b[5], msbFirst) & 0x7FFF)});
    header.push_back({"version", "Version", std::int64_t{b[6]}});
    header.push_back({"medium", "Medium", mediumText(b[7])});
    header.push_back({"medium_code", "Medium code", std::int64_t{b[7]}});
    appendStatusAndSignature(header, b[8], b[9], word(b[10], b[11], msbFirst));
}

void appendShortHeader(std::vector<HeaderField>& header, std::span<const std::uint8_t, 4> b, bool msbFirst) {
    appendStatusAndSignature(header, b[0], b[1], word(b[2], b[3], msbFirst));
}

}  // namespace mb
