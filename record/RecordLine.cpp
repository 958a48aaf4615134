#include "record/RecordLine.h"

#include <algorithm>

#include "core/JsonText.h"

namespace mb {

namespace {

void appendPrefix(std::string& out, std::string_view stamp, std::string_view port, std::string_view direction) {
    out += "{\"t\": \"";
    out += stamp;
    out += "\", \"port\": ";
    out += jsonQuoted(port);
    out += ", \"dir\": \"";
    out += direction;
    out += "\", ";
}

// "10 5B 01": written straight into the buffer, this is the writer's hot loop.
void appendHex(std::string& out, std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const std::size_t start = out.size();
    out.resize(start + bytes.size() * 3 - 1);
    char* p = out.data() + start;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i != 0) *p++ = ' ';
        *p++ = kDigits[bytes[i] >> 4];
        *p++ = kDigits[bytes[i] & 0x0F];
    }
}

}  // namespace

void appendBytesLines(std::string& out, std::string_view stamp, std::string_view port, ByteDirection direction,
                      std::span<const std::uint8_t> bytes) {
    const std::string_view dir = direction == ByteDirection::tx ? "tx" : "rx";
    for (std::size_t offset = 0; offset < bytes.size(); offset += kRecordBytesPerLine) {
        appendPrefix(out, stamp, port, dir);
        out += "\"hex\": \"";
        appendHex(out, bytes.subspan(offset, std::min(kRecordBytesPerLine, bytes.size() - offset)));
        out += "\"}\n";
    }
}

void appendEventLine(std::string& out, std::string_view stamp, std::string_view port, std::string_view text,
                     std::string_view members) {
    appendPrefix(out, stamp, port, "event");
    out += "\"text\": ";
    out += jsonQuoted(text);
    out += members;
    out += "}\n";
}

}  // namespace mb
