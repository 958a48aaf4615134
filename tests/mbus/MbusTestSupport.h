// Small helpers the M-Bus decoder tests share: hex input and record lookup.
#pragma once

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
    std::vector<std::uint8_t> f = {0x68, 0, 0, 0x68, c, 0x01};
    f.insert(f.end(), userData.begin(), userData.end());
    const auto l = static_cast<std::uint8_t>(f.size() - 4);
    f[1] = f[2] = l;
    unsigned sum = 0;
    for (std::size_t i = 4; i < f.size(); ++i) sum += f[i];
    f.push_back(static_cast<std::uint8_t>(sum));
    f.push_back(0x16);
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
