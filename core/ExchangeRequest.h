// One request to a meter and the answer it awaits: what the exchange engine
// runs on a line. Built by a protocol's request builder, run the same way by
// the window and the command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mb {

class Protocol;

enum class Awaits {
    Reading,      // a data answer ("Check Pass！" and its decode)
    Address,      // the answer to a read-address request (the address found)
    Acknowledge,  // the single-character acknowledgement of a write
};

struct ExchangeRequest {
    const Protocol* protocol = nullptr;
    std::vector<std::uint8_t> bytes;  // written in one write, exactly these
    Awaits awaits = Awaits::Reading;
    // Several meters may answer (a wildcard or broadcast address): anything
    // beyond one clean answer is a collision. With one meter addressed, stray
    // bytes around its answer are noise.
    bool severalMayAnswer = false;
    std::string what;  // "Read Data", for the record and messages
};

}  // namespace mb
