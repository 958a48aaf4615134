// meterbench-cli: the bench's decoders and line work without the window, for
// scripts and production lines.
#include <CLI/CLI.hpp>
#include <QCoreApplication>
#include <iostream>
#include <string>

#include "cli/Commands.h"

namespace {

using Command = int (*)(const mb::cli::Args&);

struct CommandEntry {
    const char* name;
    const char* help;
    Command run;
};

const CommandEntry kCommands[] = {
    {"decode", "decode one frame given as hex text", mb::cli::decodeCommand},
    {"read", "request one meter's data and decode the reply", mb::cli::readCommand},
    {"set-address", "give a meter a new address (M-Bus primary, CJ/T 188 A018)", mb::cli::setAddressCommand},
    {"scan", "list the meters on the line (M-Bus primary or secondary, CJ/T 188)", mb::cli::scanCommand},
    {"monitor", "print every frame on the line until interrupted", mb::cli::monitorCommand},
    {"valve", "open or close a CJ/T 188 meter's valve", mb::cli::valveCommand},
    {"set-time", "set a meter's clock (M-Bus or CJ/T 188)", mb::cli::setTimeCommand},
    {"set-baud", "switch an M-Bus meter's baud rate", mb::cli::setBaudCommand},
    {"reset", "application reset of an M-Bus meter (or SND_NKE)", mb::cli::resetCommand},
    {"test", "run a test plan (PLAN.toml) over many lines; JUnit, CSV, HTML reports", mb::cli::testCommand},
};

constexpr const char* kExitText =
    "Exit status: 0 success, 1 no valid reply or a frame that fails its checks,\n"
    "2 usage error, not a frame, or the port cannot be opened; test: 2 a wrong plan, 130 interrupted.\n";

std::string helpText() {
    std::string text = "usage: meterbench-cli COMMAND [OPTIONS]   (COMMAND --help for its options)\n";
    for (const auto& c : kCommands) {
        std::string name = c.name;
        name.resize(13, ' ');
        text += "  " + name + c.help + "\n";
    }
    return text + "  --version    print the version\n" + kExitText;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace mb::cli;
    if (argc == 2 && std::string(argv[1]) == "help") {
        std::cout << helpText();
        return kExitOk;
    }
    CLI::App app("MeterBench command line", "meterbench-cli");
    app.set_help_flag();  // our own text, below
    bool help = false;
    bool version = false;
    app.add_flag("-h,--help", help);
    app.add_flag("--version", version);
    app.require_subcommand(0, 1);
    // Each command parses its own options (and answers its own --help).
    for (const auto& c : kCommands) app.add_subcommand(c.name, c.help)->prefix_command()->set_help_flag();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return usageError(std::string(e.what()) + " (see meterbench-cli --help)");
    }
    if (version) {
        std::cout << "meterbench-cli " << MB_VERSION << '\n';
        return kExitOk;
    }
    const auto chosen = app.get_subcommands();
    if (help || chosen.empty()) {
        (help ? std::cout : std::cerr) << helpText();
        return help ? kExitOk : kExitUsage;
    }
    const std::string name = chosen.front()->get_name();
    const Args args = chosen.front()->remaining();
    // Decoding touches no port: it starts without Qt's application object.
    if (name == "decode") return decodeCommand(args);
    QCoreApplication qtApp(argc, argv);  // QSerialPort needs one
    for (const auto& c : kCommands)
        if (name == c.name) return c.run(args);
    return kExitUsage;
}
