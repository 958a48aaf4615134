// Connecting to a gateway that does not answer ends at the limit with the
// reason, and the window's event loop (painting, timers) keeps running meanwhile.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTimer>
#include <vector>

#include "port/TcpLine.h"

namespace {

// A listener whose queue of finished handshakes is full, so a further
// connection's handshake is never answered (as with a gateway that is off).
class FullListener {
  public:
    FullListener() {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            ::listen(listener_, 0) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            return;
        port_ = ntohs(address.sin_port);
        for (int i = 0; i < 2; ++i) {  // a queue of 0 still holds one; one more to be sure
            const int client = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address);
            queued_.push_back(client);
        }
    }
    ~FullListener() {
        for (int fd : queued_) ::close(fd);
        ::close(listener_);
    }
    quint16 port() const { return port_; }

  private:
    int listener_ = -1;
    quint16 port_ = 0;
    std::vector<int> queued_;
};

TEST(TcpLine, AGatewayThatNeverAnswersEndsAtTheLimitWithoutFreezing) {
    FullListener full;
    ASSERT_NE(full.port(), 0);
    TcpLine line;
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(20);
    const OpenResult result = line.open(GatewayAddress{QStringLiteral("127.0.0.1"), full.port()},
                                        std::chrono::milliseconds{400});
    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(line.isOpen());
    EXPECT_TRUE(result.reason.contains(QStringLiteral("no connection within 0.4 s")))
        << result.reason.toStdString();
    EXPECT_GE(ticks, 5);
}

}  // namespace
