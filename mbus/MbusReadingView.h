// The words of a decoded M-Bus frame: header fields, records and problems
// made from MbusValues one at a time, into buffers the view reuses. Text
// and JSON writers (core/ReadingText, core/ReadingJson) read a frame through
// this view; readingOf() copies it into a Reading.
#pragma once

#include <string>

#include "core/ReadingView.h"
#include "mbus/MbusValues.h"
#include "mbus/VifTable.h"

namespace mb {

class MbusReadingView final : public ReadingView {
  public:
    explicit MbusReadingView(const MbusValues& values) : v_(values) {}

    std::string_view protocol() const override { return "mbus"; }
    bool checkPassed() const override { return v_.checkPassed; }
    std::string_view error() const override;
    std::string_view checkProblem() const override;
    std::size_t headerCount() const override { return v_.headerCount; }
    HeaderFieldView headerField(std::size_t index) const override;
    std::size_t recordCount() const override { return v_.records.size(); }
    RecordView record(std::size_t index, bool withDisplay) const override;

  private:
    std::string_view frameProblem(bool wanted) const;
    std::span<const std::uint8_t> bytes(std::size_t from, std::size_t to) const;
    VifBlock names(const MbusRecord& r) const;
    void value(const MbusRecord& r, RecordView& out, bool withDisplay) const;
    void problem(const MbusRecord& r, const VifBlock& vif) const;

    const MbusValues& v_;
    mutable VifNames names_;
    mutable std::string header_;
    mutable std::string problem_;
    mutable std::string value_;
    mutable std::string display_;
    mutable std::string error_;
};

}  // namespace mb
