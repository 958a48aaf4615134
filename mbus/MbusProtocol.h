// M-Bus frames for the exchange engine (EN 13757-2): the single character
// E5, short frames 10 C A CS 16 and long frames 68 L L 68 C A CI .. CS 16,
// CS the sum from C on.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "core/Protocol.h"

namespace mb {

const Protocol& mbusProtocol();

// The primary address a request frame is sent to (A of a short or long frame).
std::optional<std::uint8_t> mbusRequestAddress(std::span<const std::uint8_t> frame);

}  // namespace mb
