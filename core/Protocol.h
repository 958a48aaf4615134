// What a protocol tells the exchange engine about its frames, so the engine
// itself knows no protocol byte: where a frame starts, how long it is, whether
// its checksum and stop byte are right, whether it answers a request, and what
// it says. A third protocol implements this interface and leaves core/ alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/Reading.h"

namespace mb {

// The verdict on the bytes at the start of a span: a whole frame of `length`
// bytes, too few bytes yet to tell, or no frame (and why: "checksum wrong").
struct FrameCheck {
    enum class Status { Whole, NeedMore, NotAFrame };
    Status status = Status::NotAFrame;
    std::size_t length = 0;
    std::string_view whyNot;

    static FrameCheck whole(std::size_t n) { return {Status::Whole, n, {}}; }
    static FrameCheck needMore() { return {Status::NeedMore, 0, {}}; }
    static FrameCheck notAFrame(std::string_view why) { return {Status::NotAFrame, 0, why}; }
};

// How a whole frame stands to the request it came after.
enum class AnswerKind {
    Answer,       // an answer to a read: a frame of the shape reads are answered with
    Acknowledge,  // what the protocol acknowledges a write with
    MeterError,   // an answer that says the meter could not do it
    NotAnAnswer,  // a frame of a shape that answers nothing (a short request frame)
};

class Protocol {
  public:
    virtual ~Protocol() = default;

    // "mbus", "cj188": the name the record and JSON use.
    virtual std::string_view name() const = 0;
    // Bytes a meter may send before a frame without them being noise (wake-up).
    virtual bool isPreamble(std::uint8_t byte) const = 0;
    // Could a frame start with this byte? Hunting skips every other byte.
    virtual bool mayStartFrame(std::uint8_t byte) const = 0;
    // Judges the frame that would start at bytes[0]: start, length rule,
    // checksum and stop byte. Never reads past `bytes`.
    virtual FrameCheck checkFrame(std::span<const std::uint8_t> bytes) const = 0;
    virtual AnswerKind classify(std::span<const std::uint8_t> frame,
                                std::span<const std::uint8_t> request) const = 0;
    // "Answered by address 02" when a meter other than the one asked answered.
    virtual std::optional<std::string> otherAddress(std::span<const std::uint8_t> frame,
                                                    std::span<const std::uint8_t> request) const = 0;
    virtual Reading decode(std::span<const std::uint8_t> frame) const = 0;
    // The longest answer, wake-up bytes included: the default timeout allows for it.
    virtual std::size_t longestAnswerBytes() const = 0;
};

}  // namespace mb
