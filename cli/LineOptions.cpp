#include "cli/LineOptions.h"

#include "port/SerialSettings.h"

namespace mb::cli {

OptionTable lineSpec(std::set<std::string> valued, std::set<std::string> switches) {
    valued.insert({"--port", "--baud", "--parity"});
    return {std::move(valued), std::move(switches), 0};
}

bool openLine(const CliOptions& options, LineSession& session, std::string& error) {
    if (!options.has("--port")) {
        error = "--port is required";
        return false;
    }
    const QString text = QStringLiteral("%1,%2,8,1")
                             .arg(QString::fromStdString(options.value("--baud", "2400")),
                                  QString::fromStdString(options.value("--parity", "E")).toUpper());
    const auto settings = parseSerialSettings(text);
    if (!settings) {
        error = "bad line settings " + text.toStdString() + " (baud, parity N/E/O/M/S)";
        return false;
    }
    return session.open(QString::fromStdString(options.value("--port")), text, error);
}

}  // namespace mb::cli
