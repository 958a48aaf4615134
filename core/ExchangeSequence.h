// An operation of several exchanges run one after the other on one line
// (select, read, deselect; telegram after telegram): each result decides the
// next request. Plain C++, so the window (one exchange per event) and the
// command line (waiting for each) run the same steps and get the same result.
#pragma once

#include <optional>

#include "core/ExchangeRequest.h"
#include "core/ExchangeResult.h"

namespace mb {

class ExchangeSequence {
  public:
    virtual ~ExchangeSequence() = default;
    virtual ExchangeRequest first() = 0;
    // The request after `result`, or nullopt when the operation is over.
    virtual std::optional<ExchangeRequest> next(const ExchangeResult& result) = 0;
    // What the operation came to, once next() said it is over.
    virtual ExchangeResult result() const = 0;
};

// A single request as a sequence: for an operation that acts on its result.
class OneExchange final : public ExchangeSequence {
  public:
    explicit OneExchange(ExchangeRequest request) : request_(std::move(request)) {}
    ExchangeRequest first() override { return request_; }
    std::optional<ExchangeRequest> next(const ExchangeResult& result) override {
        result_ = result;
        return std::nullopt;
    }
    ExchangeResult result() const override { return result_; }

  private:
    ExchangeRequest request_;
    ExchangeResult result_;
};

}  // namespace mb
