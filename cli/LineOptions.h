// The options every command on a line shares (--port, --baud, --parity) and
// opening the line with them.
#pragma once

#include <set>
#include <string>

#include "cli/CliOptions.h"
#include "cli/LineSession.h"

namespace mb::cli {

// --port, --baud, --parity plus the command's own.
OptionTable lineSpec(std::set<std::string> valued, std::set<std::string> switches);

// Opens the line named by --port with --baud (2400) and --parity (E), 8 data
// bits, 1 stop bit. False with `error` set on a bad option or a port error.
bool openLine(const CliOptions& options, LineSession& session, std::string& error);

// "PORT connected, round trip 0.12 ms; each wait ... 22 ms longer" on standard error.
void sayNetworkDelay(const std::string& port, const LineSession& session);

inline constexpr const char* kLineOptionsHelp =
    "  --port DEV       device path (/dev/ttyUSB0), COMn (through METERBENCH_PORTS, as the window)\n"
    "                   or a network gateway tcp://HOST:PORT (raw TCP)\n"
    "  --baud N         baud rate (default 2400)\n"
    "  --parity P       N, E, O, M or S (default E); 8 data bits, 1 stop bit\n";

}  // namespace mb::cli
