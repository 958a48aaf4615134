// meterbench-sim: virtual CJ/T 188 water and heat meters and M-Bus heat meters.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "tools/sim/line_io.h"
#include "tools/sim/options.h"
#include "tools/sim/tcp_server.h"

namespace {

mb::sim::Stopper* gStopper = nullptr;

void onSignal(int) {
    if (gStopper) gStopper->request();
}

void installSignals() {
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

// Makes link point at target. A stale symbolic link left by an earlier run is
// replaced; anything else at that path is left alone and reported.
bool makeLink(const std::string& link, const std::string& target) {
    struct stat info {};
    if (lstat(link.c_str(), &info) == 0 && !S_ISLNK(info.st_mode)) {
        std::fprintf(stderr, "meterbench-sim: %s exists and is not a symbolic link\n",
                     link.c_str());
        return false;
    }
    const std::string temporary = link + ".tmp" + std::to_string(getpid());
    if (symlink(target.c_str(), temporary.c_str()) != 0 ||
        rename(temporary.c_str(), link.c_str()) != 0) {
        std::fprintf(stderr, "meterbench-sim: cannot link %s: %s\n", link.c_str(),
                     std::strerror(errno));
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

// Removes the link only while it still points at this run's line.
void removeLink(const std::string& link, const std::string& target) {
    char buffer[4096];
    ssize_t size = readlink(link.c_str(), buffer, sizeof buffer - 1);
    if (size < 0) return;
    if (std::string(buffer, static_cast<std::size_t>(size)) == target) unlink(link.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    using namespace mb::sim;
    auto parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (auto* error = std::get_if<OptionError>(&parsed)) {
        std::fprintf(stderr, "meterbench-sim: %s\n%s", error->message.c_str(), usageText().c_str());
        return 2;
    }
    Options options = std::get<Options>(std::move(parsed));
    if (options.help) {
        std::fputs(usageText().c_str(), stdout);
        return 0;
    }

    if (!options.line.device.empty()) {
        if (auto why = notATerminal(options.line.device)) {
            std::fprintf(stderr, "meterbench-sim: --device %s %s\n", options.line.device.c_str(),
                         why->c_str());
            return 2;
        }
    }

    Stopper stopper;
    gStopper = &stopper;
    installSignals();

    std::string error;
    const bool overTcp = options.tcpPort >= 0;
    std::optional<TcpServer> server =
        overTcp ? TcpServer::listen(static_cast<unsigned>(options.tcpPort), error) : std::nullopt;
    std::optional<Line> line = overTcp                       ? std::nullopt
                               : options.line.device.empty() ? Line::openPty(error)
                                                             : Line::openDevice(options.line, error);
    if (!line && !server) {
        std::fprintf(stderr, "meterbench-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", line ? line->path().c_str() : server->address().c_str());
    std::fflush(stdout);

    if (!options.link.empty() && !makeLink(options.link, line->path())) return 1;

    Logger log(stdout);
    Session session(options.sim);
    log.write("NOTE", "cj188 address " + formatCj188Address(options.sim.cj188.address) + " type " +
                          toHex(&options.sim.cj188.meterType, 1) + ", cj188 heat address " +
                          formatCj188Address(options.sim.cj188Heat.address) + ", mbus address " +
                          std::to_string(options.sim.mbus.primaryAddress) +
                          (options.sim.mbusMeters > 1
                               ? " and " + std::to_string(options.sim.mbusMeters - 1) + " more"
                               : std::string()) +
                          ", faults " +
                          faultNames(options.sim.faults.faults) +
                          (options.sim.faults.every > 1
                               ? " every " + std::to_string(options.sim.faults.every)
                               : std::string()));

    const int status = server ? serveTcp(*server, session, options.line, log, stopper)
                              : serve(*line, session, options.line, log, stopper);
    if (!options.link.empty()) removeLink(options.link, line->path());
    log.write("NOTE", status == 0 ? "stopped" : "line failed");
    return status;
}
