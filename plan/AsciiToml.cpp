#include "plan/AsciiToml.h"

#include <cstdio>
#include <optional>

namespace mb::plan {

namespace {

bool isAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

struct Character {
    char32_t code = 0;
    std::size_t bytes = 0;
};

// The UTF-8 character starting at `at`; nothing when the bytes are not UTF-8
// (cut short, overlong, a surrogate, beyond U+10FFFF).
std::optional<Character> decodeUtf8(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    Character c;
    if ((lead & 0xE0) == 0xC0) {
        c = {lead & 0x1Fu, 2};
    } else if ((lead & 0xF0) == 0xE0) {
        c = {lead & 0x0Fu, 3};
    } else if ((lead & 0xF8) == 0xF0) {
        c = {lead & 0x07u, 4};
    } else {
        return std::nullopt;
    }
    if (at + c.bytes > text.size()) return std::nullopt;
    for (std::size_t i = 1; i < c.bytes; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        c.code = (c.code << 6) | (next & 0x3Fu);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c.code < kSmallest[c.bytes] || (c.code >= 0xD800 && c.code <= 0xDFFF) || c.code > 0x10FFFF)
        return std::nullopt;
    return c;
}

class Transcoder {
  public:
    explicit Transcoder(std::string_view text) : text_(text) {
        if (startsWith("\xEF\xBB\xBF")) at_ = 3;  // a byte order mark, as editors on Windows save one
    }

    std::variant<std::string, TextProblem> run() {
        while (at_ < text_.size() && !problem_) {
            const char c = text_[at_];
            if (c == '#') {
                comment();
            } else if (startsWith("\"\"\"")) {
                basicString("\"\"\"");
            } else if (startsWith("'''")) {
                literalString("'''");
            } else if (c == '"') {
                basicString("\"");
            } else if (c == '\'') {
                literalString("'");
            } else if (!isAscii(c)) {
                fail(shown() + " outside quotes: text beyond plain ASCII goes in quotes");
            } else {
                copy();
            }
        }
        if (problem_) return *problem_;
        return std::move(out_);
    }

  private:
    bool startsWith(std::string_view s) const { return text_.substr(at_, s.size()) == s; }
    bool atLineEnd() const { return at_ >= text_.size() || text_[at_] == '\n'; }

    void copy() {
        if (text_[at_] == '\n') ++line_;
        out_ += text_[at_++];
    }
    void fail(std::string message) { problem_ = TextProblem{line_, std::move(message)}; }

    // The character at `at_` for a message: itself, or its byte when it is not UTF-8.
    std::string shown() const {
        if (const auto c = decodeUtf8(text_, at_)) return "'" + std::string(text_.substr(at_, c->bytes)) + "'";
        char byte[8];
        std::snprintf(byte, sizeof byte, "%02X", static_cast<unsigned char>(text_[at_]));
        return std::string("byte ") + byte;
    }

    // A character beyond ASCII, inside a string: written as its escape.
    void escapeCharacter() {
        const auto c = decodeUtf8(text_, at_);
        if (!c) return fail("the text is not UTF-8 (" + shown() + ")");
        char escape[16];
        if (c->code <= 0xFFFF)
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c->code));
        else
            std::snprintf(escape, sizeof escape, "\\U%08X", static_cast<unsigned>(c->code));
        out_ += escape;
        at_ += c->bytes;
    }

    void comment() {
        while (!atLineEnd()) {
            if (isAscii(text_[at_])) {
                copy();
                continue;
            }
            const auto c = decodeUtf8(text_, at_);
            at_ += c ? c->bytes : 1;
            out_ += '?';
        }
    }

    // "..." or """...""": copied, with escapes kept as they are.
    void basicString(std::string_view quote) {
        const bool multiLine = quote.size() == 3;
        out_ += quote;
        at_ += quote.size();
        while (at_ < text_.size() && !problem_) {
            if (!multiLine && text_[at_] == '\n') return;  // unterminated: the reader says so
            if (startsWith(quote)) {
                // """ may end with up to two more quotes of its own.
                if (!multiLine) return copy();
                while (at_ < text_.size() && text_[at_] == '"') copy();
                return;
            }
            if (text_[at_] == '\\') {
                copy();
                if (at_ < text_.size() && !isAscii(text_[at_])) return fail("\\ before " + shown() + " is no escape");
                if (at_ < text_.size()) copy();
            } else if (isAscii(text_[at_])) {
                copy();
            } else {
                escapeCharacter();
            }
        }
    }

    // '...' or '''...''': the basic string of the same value.
    void literalString(std::string_view quote) {
        const bool multiLine = quote.size() == 3;
        out_ += multiLine ? "\"\"\"" : "\"";
        at_ += quote.size();
        while (at_ < text_.size() && !problem_) {
            const char c = text_[at_];
            if (!multiLine && c == '\n') return;  // unterminated: the reader says so
            if (startsWith(quote)) {
                std::size_t quotes = 0;
                while (multiLine && at_ + quotes < text_.size() && text_[at_ + quotes] == '\'') ++quotes;
                // ''' may end with up to two more quotes of its own.
                if (multiLine) out_.append(quotes - 3, '\'');
                at_ += multiLine ? quotes : 1;
                out_ += multiLine ? "\"\"\"" : "\"";
                return;
            }
            if (c == '\\' || c == '"') {
                out_ += '\\';
                copy();
            } else if (isAscii(c)) {
                copy();
            } else {
                escapeCharacter();
            }
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
    int line_ = 1;
    std::string out_;
    std::optional<TextProblem> problem_;
};

}  // namespace

std::variant<std::string, TextProblem> asciiToml(std::string_view text) { return Transcoder(text).run(); }

}  // namespace mb::plan
