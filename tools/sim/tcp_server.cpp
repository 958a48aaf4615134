#include "tools/sim/tcp_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace mb::sim {

namespace {

std::string peerName(const sockaddr_in& peer) {
    char host[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &peer.sin_addr, host, sizeof host);
    return std::string(host) + ":" + std::to_string(ntohs(peer.sin_port));
}

int acceptOne(int listenFd, std::string& peer) {
    sockaddr_in from{};
    socklen_t size = sizeof from;
    const int fd = accept4(listenFd, reinterpret_cast<sockaddr*>(&from), &size,
                           SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd >= 0) peer = peerName(from);
    return fd;
}

}  // namespace

std::optional<TcpServer> TcpServer::listen(unsigned port, std::string& error) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return std::nullopt;
    }
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);  // a restart takes its port again
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 || ::listen(fd, 4) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        error = "127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno);
        close(fd);
        return std::nullopt;
    }
    return TcpServer(fd, ntohs(address.sin_port));
}

TcpServer::TcpServer(TcpServer&& other) noexcept : fd_(other.fd_), port_(other.port_) {
    other.fd_ = -1;
}

TcpServer::~TcpServer() {
    if (fd_ >= 0) close(fd_);
}

std::string TcpServer::address() const {
    return "tcp://127.0.0.1:" + std::to_string(port_);
}

int TcpServer::acceptClient(const Stopper& stop, std::string& peer) const {
    for (;;) {
        pollfd fds[2] = {{fd_, POLLIN, 0}, {stop.fd(), POLLIN, 0}};
        const int ready = poll(fds, 2, -1);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0 || (fds[1].revents & POLLIN)) return -1;
        const int fd = acceptOne(fd_, peer);
        if (fd < 0) continue;  // gone before it was taken
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        return fd;
    }
}

int serveTcp(const TcpServer& server, Session& session, const LineSettings& settings, Logger& log,
             const Stopper& stop) {
    for (;;) {
        std::string peer;
        const int client = server.acceptClient(stop, peer);
        if (client < 0) return stop.requested() ? 0 : 1;
        log.write("NOTE", "client " + peer + " connected");
        const int status = serveClient(client, server.fd(), session, settings, log, stop);
        close(client);
        if (status != kClientLeft) return status;
        log.write("NOTE", "client " + peer + " left");
    }
}

}  // namespace mb::sim
