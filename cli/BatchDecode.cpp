#include "cli/BatchDecode.h"

#include <algorithm>
#include <charconv>

#include "cj188/Cj188Decoder.h"
#include "cj188/Cj188ReadingView.h"
#include "cli/Commands.h"
#include "core/ReplyVerdict.h"
#include "core/ReadingJson.h"
#include "core/ReadingText.h"
#include "mbus/MbusDecoder.h"
#include "mbus/MbusReadingView.h"

namespace mb::cli {
namespace {

constexpr std::size_t kFlushAt = 1 << 16;

void appendNumber(std::string& out, std::size_t number) {
    char text[24];
    out.append(text, std::to_chars(text, text + sizeof text, number).ptr);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

void write(std::string& text, std::FILE* to) {
    if (!text.empty()) std::fwrite(text.data(), 1, text.size(), to);
    text.clear();
}

}  // namespace

void BatchDecoder::writeResult(const ReadingView& view, std::size_t number, std::size_t skipped) {
    if (json_) {
        // The object `decode --json` prints, with the line it came from first.
        out_ += "{\"line\":";
        appendNumber(out_, number);
        out_ += ',';
        if (skipped > 0) {
            out_ += "\"skipped_bytes\":";
            appendNumber(out_, skipped);
            out_ += ',';
        }
        const std::size_t object = out_.size();
        appendReadingJson(out_, view);
        out_.erase(object, 1);
        out_ += '\n';
        return;
    }
    out_ += "# line ";
    appendNumber(out_, number);
    out_ += '\n';
    if (view.checkPassed()) {
        out_ += view.meterError() ? kMeterErrorText : kCheckPassText;
        out_ += '\n';
    }
    appendReadingText(out_, view);
}

void BatchDecoder::writeError(std::size_t number, std::string_view what, std::string_view reason) {
    err_ += "meterbench-cli: line ";
    appendNumber(err_, number);
    err_ += ": ";
    err_ += what;
    if (!reason.empty()) {
        err_ += ": ";
        err_ += reason;
    }
    err_ += '\n';
}

int BatchDecoder::decodeLine(std::string_view line, std::size_t number) {
    const auto first = std::find_if_not(line.begin(), line.end(), isBlank);
    if (first == line.end() || *first == '#') return -1;
    if (!parseHexText(line, bytes_)) {
        Reading notHex;
        notHex.error = "not hex text";
        writeResult(ReadingOfRecords(notHex), number, 0);
        writeError(number, "not hex text", {});
        return kExitUsage;
    }
    auto judge = [&](const ReadingView& view) {
        if (view.checkPassed() && view.error().empty()) {
            writeResult(view, number, 0);
            return kExitOk;
        }
        // As `decode` does: stray bytes before a frame that passes are skipped, and said so.
        if (const DecodedInput tail = decodeAfterStrayBytes(bytes_); tail.skipped > 0) {
            writeResult(ReadingOfRecords(tail.reading), number, tail.skipped);
            writeError(number, strayBytesText(bytes_, tail.skipped), {});
            return kExitOk;
        }
        writeResult(view, number, 0);
        const bool frame = hasFrameLength(bytes_);
        std::string_view reason = view.error();
        if (reason.empty()) reason = view.checkProblem();
        if (reason.empty()) reason = "start, length, checksum or stop byte is wrong";
        writeError(number, frame ? "check failed" : "not a frame", reason);
        return frame ? kExitNoValidReply : kExitUsage;
    };
    switch (detectProtocol(bytes_)) {
        case Protocol::Mbus:
            decodeMbusValues(bytes_, mbus_);
            return judge(MbusReadingView(mbus_));
        case Protocol::Cj188:
            decodeCj188Values(bytes_, cj188_);
            return judge(Cj188ReadingView(cj188_));
        case Protocol::Unknown: break;
    }
    const Reading unknown = decodeAnyFrame(bytes_);
    return judge(ReadingOfRecords(unknown));
}

int decodeBatch(std::istream& in, bool json, std::FILE* out, std::FILE* err) {
    BatchDecoder decoder(json);
    int worst = kExitOk;
    std::string line;
    for (std::size_t number = 1; std::getline(in, line); ++number) {
        worst = std::max(worst, decoder.decodeLine(line, number));
        if (decoder.output().size() >= kFlushAt) write(decoder.output(), out);
        write(decoder.errors(), err);
    }
    write(decoder.output(), out);
    std::fflush(out);
    return worst;
}

}  // namespace mb::cli
