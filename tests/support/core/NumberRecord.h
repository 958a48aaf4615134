// A decoded record with a number, as a decoder would have made it, for tests
// of what is built from readings.
#pragma once

#include <string>
#include <utility>

#include "core/Reading.h"

namespace mb::test {

inline Record numberRecord(std::string quantity, std::string unit, double value,
                           std::string display = {}) {
    Record r;
    r.quantity = std::move(quantity);
    r.unit = std::move(unit);
    r.value = value;
    r.display = std::move(display);
    return r;
}

}  // namespace mb::test
