// The virtual meter behind a network gateway: its line served over raw TCP on
// 127.0.0.1. Like most gateways it serves one client at a time: a second one
// is accepted and closed at once (it sees its connection end), and when the
// client leaves the next one is served, the meters keeping their state.
#pragma once

#include <optional>
#include <string>

#include "tools/sim/line_io.h"

namespace mb::sim {

class TcpServer {
  public:
    // Listens on 127.0.0.1:port; port 0 takes a free one.
    static std::optional<TcpServer> listen(unsigned port, std::string& error);

    TcpServer(TcpServer&& other) noexcept;
    TcpServer& operator=(TcpServer&&) = delete;
    TcpServer(const TcpServer&) = delete;
    ~TcpServer();

    unsigned port() const { return port_; }
    std::string address() const;  // "tcp://127.0.0.1:PORT", what a program opens
    int fd() const { return fd_; }

    // Waits for the next client; its socket (owned by the caller, unblocked,
    // small writes sent at once), or -1 when a stop was requested.
    int acceptClient(const Stopper& stop, std::string& peer) const;

  private:
    TcpServer(int fd, unsigned port) : fd_(fd), port_(port) {}
    int fd_ = -1;
    unsigned port_ = 0;
};

// Serves the meters to clients one after another until a stop is requested.
// Returns 0 on a requested stop, 1 when the server failed.
int serveTcp(const TcpServer& server, Session& session, const LineSettings& settings, Logger& log,
             const Stopper& stop);

}  // namespace mb::sim
