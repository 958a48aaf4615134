// Small helpers the M-Bus decoder tests share: hex input and record lookup.
#pragma once

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "core/Reading.h"

namespace mb::test {

inline std::vector<std::uint8_t> bytesFromHex(const std::string& hex) {
    std::istringstream in(hex);
    std::vector<std::uint8_t> out;
    std::string token;
    while (in >> token) out.push_back(static_cast<std::uint8_t>(std::stoul(token, nullptr, 16)));
    return out;
}

// A long RSP_UD frame (C=08, A=01) around `userData` (CI and what follows).
inline std::vector<std::uint8_t> longFrame(const std::vector<std::uint8_t>& userData, std::uint8_t c = 0x08) {
    // Sized once: GCC 12 warns wrongly about an insert after a short initialiser list.
    std::vector<std::uint8_t> f(6 + userData.size() + 2);
    f[0] = f[3] = 0x68;
    f[1] = f[2] = static_cast<std::uint8_t>(2 + userData.size());
    f[4] = c;
    f[5] = 0x01;
    std::copy(userData.begin(), userData.end(), f.begin() + 6);
    unsigned sum = 0;
    for (std::size_t i = 4; i < f.size() - 2; ++i) sum += f[i];
    f[f.size() - 2] = static_cast<std::uint8_t>(sum);
    f.back() = 0x16;
    return f;
}

// CI 72 with the header "78 56 34 12 24 40 01 07 55 00 00 00" and the given records.
inline std::vector<std::uint8_t> variableFrame(const std::string& recordsHex) {
    auto user = bytesFromHex("72 78 56 34 12 24 40 01 07 55 00 00 00 " + recordsHex);
    return longFrame(user);
}

inline const HeaderField* findHeader(const Reading& r, const std::string& key) {
    for (const auto& h : r.header) {
        if (h.key == key) return &h;
    }
    return nullptr;
}

inline std::string headerText(const Reading& r, const std::string& key) {
    const HeaderField* h = findHeader(r, key);
    if (!h) return "<missing>";
    if (const auto* s = std::get_if<std::string>(&h->value)) return *s;
    return std::to_string(std::get<std::int64_t>(h->value));
}

}  // namespace mb::test
