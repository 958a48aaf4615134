// A ring and the parser state driven the way the receive path drives them:
// one ringFill and one parser call per receive event.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "cj188/Cj188ReplyParser.h"
#include "mbus/MbusLongFrameParser.h"
#include "core/ReceiveRing.h"

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
        ring.ringFill(bytes);
        parse();
        return frameComplete == 1;
    }

    void parse() {
        if (parser == Parser::Cj188) {
            parseCj188Reply(ring, collector, frameComplete);
        } else {
            parseMbusLongFrame(ring, collector, frameComplete);
        }
    }
};

// Bytes that never start a candidate (never 0x68), from a small fixed generator.
inline std::vector<std::uint8_t> noiseWithout68(std::size_t n, std::uint32_t seed) {
    std::vector<std::uint8_t> bytes(n);
    for (auto& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(seed >> 24);
        if (b == 0x68) b = 0xFE;
    }
    return bytes;
}

}  // namespace mb::test
