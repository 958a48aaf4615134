// What a real-frame test does when the shared frames folder is missing: on a
// developer's machine it is skipped with the reason; under CI=true it fails,
// because a CI run that skipped every real frame would prove nothing.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

namespace mb::test {

inline bool RealFramesRequired() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string_view(ci) == "true";
}

}  // namespace mb::test

// Ends the calling test: a failure under CI=true, a skip otherwise.
#define MB_REAL_FRAMES_MISSING(why)                                                      \
    do {                                                                                 \
        if (::mb::test::RealFramesRequired()) {                                          \
            GTEST_FAIL() << "real frames missing (CI=true needs them): " << (why);       \
        }                                                                                \
        GTEST_SKIP() << "real frames missing: " << (why);                                \
    } while (0)
