// Command line of meterbench-sim.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "tools/sim/line_io.h"
#include "tools/sim/session.h"

namespace mb::sim {

struct Options {
    SimSettings sim;
    LineSettings line;
    std::string link;  // symlink made to the line's path, removed on exit
    int tcpPort = -1;  // serve over TCP on 127.0.0.1 at this port (0: a free one); -1: a pty
    bool help = false;
};

struct OptionError {
    std::string message;
};

// Parses the arguments after the program name.
std::variant<Options, OptionError> parseOptions(const std::vector<std::string>& args);

std::string usageText();

}  // namespace mb::sim
