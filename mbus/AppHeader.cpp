#include "mbus/AppHeader.h"

#include <string_view>

#include "mbus/NumberText.h"

namespace mb {
namespace {

std::uint16_t word(std::uint8_t first, std::uint8_t second, bool msbFirst) {
    return msbFirst ? static_cast<std::uint16_t>(first << 8 | second)
                    : static_cast<std::uint16_t>(second << 8 | first);
}

void addStatusAndSignature(MbusValues& values, std::uint8_t access, std::uint8_t status, std::uint16_t signature) {
    values.add(MbusField::AccessNumber, access);
    values.add(MbusField::Status, status);
    values.add(MbusField::StatusText, status);
    values.add(MbusField::Signature, signature);
    if (const unsigned mode = encryptionMode(signature)) values.add(MbusField::EncryptionMode, mode);
}

}  // namespace

std::uint32_t idDigits(std::span<const std::uint8_t, 4> b, bool msbFirst) {
    return msbFirst ? std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3]
                    : std::uint32_t{b[3]} << 24 | std::uint32_t{b[2]} << 16 | std::uint32_t{b[1]} << 8 | b[0];
}

void appendIdDigits(std::string& out, std::uint32_t digits) {
    for (int shift = 24; shift >= 0; shift -= 8) appendHexByte(out, static_cast<std::uint8_t>(digits >> shift));
}

void appendManufacturerText(std::string& out, std::uint16_t code) {
    out += static_cast<char>(((code >> 10) & 0x1F) + 64);
    out += static_cast<char>(((code >> 5) & 0x1F) + 64);
    out += static_cast<char>((code & 0x1F) + 64);
}

void appendStatusText(std::string& out, std::uint8_t status) {
    const std::size_t start = out.size();
    auto add = [&](std::string_view what) {
        if (out.size() != start) out += ", ";
        out += what;
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
    if (out.size() == start) out += "OK";
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

void addLongHeader(MbusValues& values, std::span<const std::uint8_t, 12> b, bool msbFirst) {
    values.add(MbusField::Id, idDigits(b.first<4>(), msbFirst));
    values.add(MbusField::Manufacturer, word(b[4], b[5], msbFirst) & 0x7FFF);
    values.add(MbusField::Version, b[6]);
    values.add(MbusField::Medium, b[7]);
    values.add(MbusField::MediumCode, b[7]);
    addStatusAndSignature(values, b[8], b[9], word(b[10], b[11], msbFirst));
}

void addShortHeader(MbusValues& values, std::span<const std::uint8_t, 4> b, bool msbFirst) {
    addStatusAndSignature(values, b[0], b[1], word(b[2], b[3], msbFirst));
}

}  // namespace mb
