// A pseudo-terminal for tests that play the far end of a serial line.
#pragma once

#include <string>

struct RawPty {
    int master = -1;
    int slave = -1;
    std::string path;  // the slave device, e.g. /dev/pts/3
};

// Opens a pseudo-terminal with the slave in raw mode, so bytes pass unchanged.
// Both descriptors are -1 and the path is empty when no pty can be had.
RawPty openRawPty();
