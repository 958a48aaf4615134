#include "cli/Cj188Target.h"

#include <algorithm>

#include "cli/RequestOptions.h"

namespace mb::cli {

std::optional<Cj188Target> cj188Target(const CliOptions& options, bool forWrite,
                                       std::string& error) {
    Cj188Target target;
    target.plate = options.value("--address");
    if (target.plate.empty()) {
        error = "--address is required";
        return std::nullopt;
    }
    const auto address = cj188AddressFromPlate(target.plate);
    if (!address) {
        error = "CJ/T 188 address must be 14 digits (A6 first), not '" + target.plate + "'";
        return std::nullopt;
    }
    const auto type = meterTypeOption(options.value("--meter-type", "10"));
    if (!type) {
        error = "meter type must be one hex byte such as 10 or 10H, not '" +
                options.value("--meter-type") + "'";
        return std::nullopt;
    }
    target.address = *address;
    target.meterType = *type;
    const auto wild = std::count(address->begin(), address->end(), std::uint8_t{0xAA});
    target.anyMeter = wild == 7;
    if (forWrite && wild > 0 && wild < 7) {
        error = "a write needs one meter's address or the whole AAAAAAAAAAAAAA, not '" +
                target.plate + "'";
        return std::nullopt;
    }
    return target;
}

}  // namespace mb::cli
