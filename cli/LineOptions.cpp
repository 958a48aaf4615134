#include "cli/LineOptions.h"

#include <iomanip>
#include <iostream>

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
    if (!session.open(QString::fromStdString(options.value("--port")), text, error)) return false;
    if (session.overNetwork()) sayNetworkDelay(options.value("--port"), session);
    return true;
}

// What the waits for answers get on a gateway, said once, on standard error.
void sayNetworkDelay(const std::string& port, const LineSession& session) {
    const double roundTripMs = static_cast<double>(session.networkRoundTrip().count()) / 1000.0;
    std::cerr << "meterbench-cli: " << port << " connected, round trip " << std::fixed
              << std::setprecision(2) << roundTripMs << " ms; each wait for an answer is "
              << session.networkDelay(0).count() << " ms longer, plus the request's time on the "
              << "gateway's line\n";
    std::cerr.unsetf(std::ios::floatfield);
}

}  // namespace mb::cli
