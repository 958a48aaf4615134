// Reading an M-Bus meter whose data spans several telegrams, as one reading:
// SND_NKE, then REQ_UD2 with FCB 1, toggling the FCB for each further telegram
// while the last record says more records follow (DIF 1F). A retry keeps the
// FCB, so the meter repeats the telegram. The telegrams' records are merged
// into the first result; a telegram that does not pass ends the read with it.
#pragma once

#include <cstdint>

#include "core/ExchangeSequence.h"

namespace mb {

class TelegramSequence final : public ExchangeSequence {
  public:
    explicit TelegramSequence(std::uint8_t address) : address_(address) {}

    ExchangeRequest first() override;
    std::optional<ExchangeRequest> next(const ExchangeResult& result) override;
    ExchangeResult result() const override { return merged_; }

  private:
    std::optional<ExchangeRequest> readTelegram();

    std::uint8_t address_;
    bool fcb_ = true;  // after SND_NKE the first REQ_UD2 carries FCB 1
    int telegrams_ = 0;
    bool reset_ = false;
    ExchangeResult merged_;
};

}  // namespace mb
