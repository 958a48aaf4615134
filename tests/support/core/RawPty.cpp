#include "tests/support/core/RawPty.h"

#include <pty.h>
#include <termios.h>

RawPty openRawPty() {
    RawPty pty;
    char name[256] = {};
    if (::openpty(&pty.master, &pty.slave, name, nullptr, nullptr) != 0) return RawPty{};
    termios t{};
    if (::tcgetattr(pty.slave, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(pty.slave, TCSANOW, &t);
    }
    pty.path = name;
    return pty;
}
