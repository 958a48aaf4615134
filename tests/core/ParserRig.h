// A ring and the parser state driven the way the receive path drives them:
// one RingFill and one parser call per receive event.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "en1434/FrameParsers.h"
#include "serial/ReceiveRing.h"

namespace mb::test {

enum class Parser { Cj188, Mbus };

struct ParserRig {
    ReceiveRing ring;
    FrameCollector collector;
    std::uint8_t frameComplete = 0;
    Parser parser = Parser::Cj188;

    explicit ParserRig(Parser p) : parser(p) {}

    // One receive event; true when the parser accepted a frame in it.
    bool event(std::span<const std::uint8_t> bytes) {
        frameComplete = 0;
        ring.RingFill(bytes);
        parse();
        return frameComplete == 1;
    }

    void parse() {
        if (parser == Parser::Cj188) {
            ParseCj188Reply(ring, collector, frameComplete);
        } else {
            ParseMbusLongFrame(ring, collector, frameComplete);
        }
    }
};

// Bytes that never start a candidate (never 0x68), from a small fixed generator.
inline std::vector<std::uint8_t> NoiseWithout68(std::size_t n, std::uint32_t seed) {
    std::vector<std::uint8_t> bytes(n);
    for (auto& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(seed >> 24);
        if (b == 0x68) b = 0xFE;
    }
    return bytes;
}

}  // namespace mb::test
