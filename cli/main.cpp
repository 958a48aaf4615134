// meterbench-cli: the bench's decoders and line work without the window, for
// scripts and production lines.
#include <QCoreApplication>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "cli/Commands.h"

namespace {

constexpr const char* kHelp =
    "usage: meterbench-cli COMMAND [OPTIONS]   (COMMAND --help for its options)\n"
    "  decode       decode one frame given as hex text\n"
    "  read         request one meter's data and decode the reply\n"
    "  set-address  give an M-Bus meter a new primary address\n"
    "  scan         list the meters on the line (M-Bus primary or secondary, CJ/T 188)\n"
    "  monitor      print every frame on the line until interrupted\n"
    "  --version    print the version\n"
    "Exit status: 0 success, 1 no valid reply or a frame that fails its checks,\n"
    "2 usage error, not a frame, or the port cannot be opened.\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace mb::cli;
    if (argc < 2) {
        std::cerr << kHelp;
        return kExitUsage;
    }
    const std::string command = argv[1];
    if (command == "--version") {
        std::cout << "meterbench-cli " << MB_VERSION << '\n';
        return kExitOk;
    }
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kHelp;
        return kExitOk;
    }
    const Args args(argv + 2, argv + argc);
    // Decoding touches no port: it starts without Qt's application object.
    if (command == "decode") return decodeCommand(args);
    QCoreApplication app(argc, argv);  // QSerialPort needs one
    if (command == "read") return readCommand(args);
    if (command == "set-address") return setAddressCommand(args);
    if (command == "scan") return scanCommand(args);
    if (command == "monitor") return monitorCommand(args);
    return usageError("unknown command '" + command + "' (see meterbench-cli --help)");
}
