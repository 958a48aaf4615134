#include "tools/sim/fault_shaper.h"

#include <algorithm>
#include <array>
#include <utility>

namespace mb::sim {

namespace {
struct NamedFault {
    Fault fault;
    std::string_view name;
};
constexpr std::array<NamedFault, 7> kFaults{{{Fault::BadChecksum, "bad-checksum"},
                                             {Fault::Split, "split"},
                                             {Fault::Noise, "noise"},
                                             {Fault::Silent, "silent"},
                                             {Fault::Late, "late"},
                                             {Fault::Echo, "echo"},
                                             {Fault::Flood, "flood"}}};
}  // namespace

std::optional<Fault> parseFault(std::string_view name) {
    for (const auto& entry : kFaults)
        if (entry.name == name) return entry.fault;
    return std::nullopt;
}

std::string faultName(Fault fault) {
    for (const auto& entry : kFaults)
        if (entry.fault == fault) return std::string(entry.name);
    return "?";
}

std::string faultNames(unsigned faults) {
    std::string text;
    for (const auto& entry : kFaults) {
        if ((faults & static_cast<unsigned>(entry.fault)) == 0) continue;
        if (!text.empty()) text += '+';
        text += entry.name;
    }
    return text.empty() ? "none" : text;
}

FaultShaper::FaultShaper(FaultSettings settings)
    : settings_(std::move(settings)), random_(settings_.seed) {
    settings_.every = std::max(1u, settings_.every);
    settings_.splitBytes = std::max<std::size_t>(1, settings_.splitBytes);
}

// Bytes that noise must not hold: 68 and 10 open a frame, E5 is one on its own.
static bool isFrameByte(std::uint8_t b) {
    return b == 0x68 || b == 0x10 || b == 0xE5;
}

Bytes FaultShaper::randomBytes(std::size_t count, bool avoidFrameBytes) {
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes bytes;
    bytes.reserve(count);
    while (bytes.size() < count) {
        auto b = static_cast<std::uint8_t>(byte(random_));
        if (avoidFrameBytes && isFrameByte(b)) continue;
        bytes.push_back(b);
    }
    return bytes;
}

std::vector<Chunk> FaultShaper::shape(Bytes reply) {
    ++exchanges_;
    lastFaulty_ = settings_.faults != 0 && exchanges_ % settings_.every == 0;
    if (!lastFaulty_) return {Chunk{0, std::move(reply)}};

    std::vector<Chunk> plan;
    if (settings_.has(Fault::Flood)) plan.push_back({0, randomBytes(settings_.floodBytes, false)});
    if (!settings_.has(Fault::Silent)) {
        if (settings_.has(Fault::BadChecksum) && reply.size() >= 2) ++reply[reply.size() - 2];
        if (settings_.has(Fault::Noise)) {
            Bytes noisy = randomBytes(settings_.noiseBytes, true);
            noisy.insert(noisy.end(), reply.begin(), reply.end());
            reply = std::move(noisy);
        }
        if (settings_.has(Fault::Split)) {
            for (std::size_t at = 0; at < reply.size(); at += settings_.splitBytes) {
                const std::size_t end = std::min(reply.size(), at + settings_.splitBytes);
                plan.push_back({at == 0 ? 0 : settings_.splitPauseMs,
                                Bytes(reply.begin() + at, reply.begin() + end)});
            }
        } else {
            plan.push_back({0, std::move(reply)});
        }
    }
    if (settings_.has(Fault::Late) && !plan.empty()) plan.front().pauseMs += settings_.delayMs;
    return plan;
}

}  // namespace mb::sim
