// The CJ/T 188 meter a command addresses: --address (14 digits, A6 first) and
// --meter-type, and whether writing to it is allowed.
#pragma once

#include <optional>
#include <string>

#include "cj188/Cj188Requests.h"
#include "cli/CliOptions.h"

namespace mb::cli {

struct Cj188Target {
    Cj188Address address{};
    std::uint8_t meterType = 0x10;
    std::string plate;      // as given
    bool anyMeter = false;  // AA×7: written only after the one-meter check
    std::string name() const { return "CJ/T 188 meter " + plate; }
};

// --address and --meter-type (default 10). For a write (`forWrite`) an address
// with some wildcard digits is refused: only the whole AA×7, given on purpose,
// may reach "the one meter on the line".
std::optional<Cj188Target> cj188Target(const CliOptions& options, bool forWrite,
                                       std::string& error);

}  // namespace mb::cli
