// Turns a meter's clean reply into what goes on the line when faults are
// asked for: a list of chunks, each written after a pause.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tools/sim/bytes.h"

namespace mb::sim {

enum class Fault : unsigned {
    BadChecksum = 1u << 0,  // checksum byte of the reply off by one
    Split = 1u << 1,        // reply in chunks with pauses between them
    Noise = 1u << 2,        // random bytes (never 68, 10 or E5) before the reply
    Silent = 1u << 3,       // no reply (echo, noise and flood still go out)
    Late = 1u << 4,         // the first byte leaves only after a delay
    Echo = 1u << 5,         // every byte heard comes back at once, as on a two-wire bus
    Flood = 1u << 6,        // a burst of random bytes of any value before the reply
};

std::optional<Fault> parseFault(std::string_view name);
std::string faultName(Fault fault);
// "none" or the names joined by '+', in declaration order.
std::string faultNames(unsigned faults);

struct FaultSettings {
    unsigned faults = 0;  // set of Fault bits
    unsigned every = 1;   // only every Nth answered request is faulty
    unsigned delayMs = 1500;
    std::size_t splitBytes = 4;
    unsigned splitPauseMs = 40;
    std::size_t noiseBytes = 16;
    std::size_t floodBytes = 4096;
    std::uint32_t seed = 1;

    bool has(Fault f) const { return (faults & static_cast<unsigned>(f)) != 0; }
};

struct Chunk {
    unsigned pauseMs = 0;  // wait before writing these bytes
    Bytes bytes;
};

class FaultShaper {
  public:
    explicit FaultShaper(FaultSettings settings);

    // Plans the meter's output for one answered request. Counts the exchange, so
    // with every = N the Nth, 2Nth, ... calls carry the faults. The echo is not
    // part of it: the line returns every byte as it arrives (see Session::echoes).
    std::vector<Chunk> shape(Bytes reply);

    // Whether the last call to shape() applied the faults.
    bool lastWasFaulty() const { return lastFaulty_; }

    const FaultSettings& settings() const { return settings_; }

  private:
    Bytes randomBytes(std::size_t count, bool avoidFrameBytes);

    FaultSettings settings_;
    std::mt19937 random_;
    unsigned long exchanges_ = 0;
    bool lastFaulty_ = false;
};

}  // namespace mb::sim
