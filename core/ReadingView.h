// A decoded frame seen field by field, for the writers of text and JSON. A
// decoder keeps its result as numbers and codes; its view turns one header
// field or one record into words only when a writer asks for it, so decoding
// alone builds no text. A Reading (the owned form) has a view too, and every
// view can be copied into a Reading.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/Reading.h"

namespace mb {

// Texts point into the view's own buffers or into static tables: valid until
// the next call on the same view.
struct HeaderFieldView {
    std::string_view key;
    std::string_view label;
    bool isNumber = false;
    std::int64_t number = 0;
    std::string_view text;

    static HeaderFieldView ofText(std::string_view key, std::string_view label,
                                  std::string_view value) {
        return {key, label, false, 0, value};
    }
    static HeaderFieldView ofNumber(std::string_view key, std::string_view label,
                                    std::int64_t value) {
        return {key, label, true, value, {}};
    }
};

struct RecordView {
    enum class Value : std::uint8_t { None, Number, Text };

    std::string_view quantity;
    RecordFunction function = RecordFunction::Instantaneous;
    std::uint64_t storage = 0;
    std::uint64_t tariff = 0;
    std::uint64_t subunit = 0;
    std::string_view unit;
    Value valueType = Value::None;
    double number = 0;
    std::string_view text;     // the value when valueType is Text
    std::string_view display;  // filled only when asked for
    std::string_view error;
    // The record's bytes: as received, or already as hex text (a Reading keeps only that).
    std::span<const std::uint8_t> rawBytes;
    std::string_view rawHex;
};

class ReadingView {
  public:
    virtual ~ReadingView() = default;

    virtual std::string_view protocol() const = 0;
    virtual bool checkPassed() const = 0;
    virtual std::string_view error() const = 0;         // not a frame of this protocol
    virtual std::string_view checkProblem() const = 0;  // a frame that failed its checks
    virtual bool meterError() const { return false; }   // the meter's "could not" answer
    virtual std::size_t headerCount() const = 0;
    virtual HeaderFieldView headerField(std::size_t index) const = 0;
    virtual std::size_t recordCount() const = 0;
    // `withDisplay`: the text views need the meter-scaled display, JSON does not.
    virtual RecordView record(std::size_t index, bool withDisplay) const = 0;
};

// The view of an owned Reading.
class ReadingOfRecords final : public ReadingView {
  public:
    explicit ReadingOfRecords(const Reading& reading) : reading_(reading) {}

    std::string_view protocol() const override { return reading_.protocol; }
    bool checkPassed() const override { return reading_.checkPassed; }
    std::string_view error() const override { return reading_.error; }
    std::string_view checkProblem() const override { return reading_.checkProblem; }
    bool meterError() const override { return reading_.meterError; }
    std::size_t headerCount() const override { return reading_.header.size(); }
    HeaderFieldView headerField(std::size_t index) const override;
    std::size_t recordCount() const override { return reading_.records.size(); }
    RecordView record(std::size_t index, bool withDisplay) const override;

  private:
    const Reading& reading_;
};

// Copies every field of `view` into a Reading that owns its texts.
Reading readingOf(const ReadingView& view);

// Appends the record's bytes as hex text ("04 06 67 12").
void appendRawHex(std::string& out, const RecordView& record);

}  // namespace mb
