// The words of a decoded CJ/T 188 frame: header fields, records and problems
// made from Cj188Values one at a time, into buffers the view reuses.
#pragma once

#include <string>

#include "cj188/Cj188Values.h"
#include "core/ReadingView.h"

namespace mb {

class Cj188ReadingView final : public ReadingView {
  public:
    explicit Cj188ReadingView(const Cj188Values& values) : v_(values) {}

    std::string_view protocol() const override { return "cj188"; }
    bool checkPassed() const override { return v_.checkPassed; }
    std::string_view error() const override;
    std::string_view checkProblem() const override;
    bool meterError() const override;
    std::size_t headerCount() const override;
    HeaderFieldView headerField(std::size_t index) const override;
    std::size_t recordCount() const override { return v_.recordCount; }
    RecordView record(std::size_t index, bool withDisplay) const override;

  private:
    std::string_view frameProblem(bool wanted) const;

    const Cj188Values& v_;
    mutable std::string header_;
    mutable std::string problem_;
    mutable std::string value_;
    mutable std::string display_;
};

}  // namespace mb
