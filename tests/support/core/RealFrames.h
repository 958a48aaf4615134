// Real frames captured from meters and public protocol libraries, read at run
// time from the shared testdata folder (index.tsv plus one .hex file a frame).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace mb::test {

enum class FrameProtocol { Mbus, Cjt188 };

struct RealFrame {
    std::string file;  // path relative to the frames folder, as in index.tsv
    FrameProtocol protocol = FrameProtocol::Mbus;
    bool checksumKnown = false;  // false: index says n/a (too short to hold a CS)
    bool checksumOk = false;     // index says "yes"
    std::string notes;
    std::vector<std::uint8_t> bytes;  // FE wake-up bytes included
};

struct RealFrameSet {
    bool found = false;  // false: folder or index.tsv missing; see `problem`
    std::string problem;
    std::vector<RealFrame> frames;
};

// Loads every frame listed in `<dir>/index.tsv`. A file that cannot be read or
// is not plain hex makes the whole set not found, with the reason in `problem`.
RealFrameSet LoadRealFrames(const std::string& dir);

// The folder the build points test suites at (MB_FRAMES_DIR), or "" when the
// including file is built without it. The environment variable MB_FRAMES_DIR
// overrides it, so a run can check what the suites do without the folder.
// Internal linkage: the macro may differ between translation units.
static inline std::string RealFramesDir() {
    if (const char* override = std::getenv("MB_FRAMES_DIR")) return override;
#ifdef MB_FRAMES_DIR
    return MB_FRAMES_DIR;
#else
    return {};
#endif
}

}  // namespace mb::test
