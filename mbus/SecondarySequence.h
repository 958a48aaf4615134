// Reaching an M-Bus meter by its identification number: select it (SND_UD to
// 253, CI 52, F for any digit), send one request to 253 (a read, or a new
// primary address), deselect it (SND_NKE to 253). A selection that no meter
// or several meters acknowledge ends there (several are deselected again);
// the operation's result is the middle request's.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/ExchangeSequence.h"
#include "mbus/MbusRequests.h"

namespace mb {

class SecondarySequence final : public ExchangeSequence {
  public:
    SecondarySequence(const SecondaryMask& mask, ExchangeRequest atSelected)
        : mask_(mask), atSelected_(std::move(atSelected)) {}

    ExchangeRequest first() override;
    std::optional<ExchangeRequest> next(const ExchangeResult& result) override;
    ExchangeResult result() const override { return result_; }
    // Exactly one meter acknowledged the selection: the result is its answer at 253.
    bool reachedOne() const { return reachedOne_; }

  private:
    enum class Step { Select, AtSelected, Deselect } step_ = Step::Select;
    SecondaryMask mask_;
    ExchangeRequest atSelected_;
    ExchangeResult result_;
    bool reachedOne_ = false;
};

// Why a selection did not reach exactly one meter ("no meter matches the
// selection", ...); nullopt when one meter acknowledged it.
std::optional<std::string> selectionProblem(const ExchangeResult& result);

// "12345678", "1234FFFF": eight digits, F for any digit.
std::optional<SecondaryMask> secondaryMaskOf(std::string_view text);

}  // namespace mb
