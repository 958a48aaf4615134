#include "tools/sim/line_io.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <deque>
#include <thread>

namespace mb::sim {

namespace {

void setNonBlocking(int fd) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

speed_t speedFor(unsigned baud) {
    switch (baud) {
        case 300:
            return B300;
        case 600:
            return B600;
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return B2400;
    }
}

// The rate the line is set to now (a pty: what the master set), 0 when unknown.
unsigned lineBaud(int fd) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return 0;
    for (unsigned baud : {300u, 600u, 1200u, 2400u, 4800u, 9600u, 19200u, 38400u, 57600u, 115200u})
        if (speedFor(baud) == cfgetispeed(&tio)) return baud;
    return 0;
}

// After a baud switch the meter's side of the line follows.
void setLineBaud(int fd, unsigned baud) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return;
    cfsetispeed(&tio, speedFor(baud));
    cfsetospeed(&tio, speedFor(baud));
    tcsetattr(fd, TCSADRAIN, &tio);
}

// Raw 8-bit line. Parity is asked for but never required: a pseudo-terminal or
// a simple adapter may not hold it, and the meter works either way.
void makeRaw(int fd, unsigned baud, char parity) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return;
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, speedFor(baud));
    cfsetospeed(&tio, speedFor(baud));
    tcsetattr(fd, TCSANOW, &tio);

    if (parity == 'E' || parity == 'O') {
        termios withParity = tio;
        withParity.c_cflag |= PARENB;
        if (parity == 'O') withParity.c_cflag |= PARODD;
        if (tcsetattr(fd, TCSANOW, &withParity) != 0) tcsetattr(fd, TCSANOW, &tio);
    }
}

bool waitWritable(int fd, const Stopper& stop) {
    pollfd fds[2] = {{fd, POLLOUT, 0}, {stop.fd(), POLLIN, 0}};
    for (;;) {
        int ready = poll(fds, 2, -1);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0 || (fds[1].revents & POLLIN)) return false;
        if (fds[0].revents & (POLLERR | POLLNVAL)) return false;
        if (fds[0].revents & POLLOUT) return true;
        if (fds[0].revents & POLLHUP) return false;
    }
}

bool writeAll(int fd, const std::uint8_t* data, std::size_t size, const Stopper& stop) {
    while (size > 0) {
        ssize_t written = write(fd, data, size);
        if (written > 0) {
            data += written;
            size -= static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno == EINTR) continue;
        if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        if (!waitWritable(fd, stop)) return false;
    }
    return true;
}

}  // namespace

Stopper::Stopper() {
    int fds[2];
    if (pipe(fds) == 0) {
        readFd_ = fds[0];
        writeFd_ = fds[1];
        setNonBlocking(readFd_);
        setNonBlocking(writeFd_);
        fcntl(readFd_, F_SETFD, FD_CLOEXEC);
        fcntl(writeFd_, F_SETFD, FD_CLOEXEC);
    }
}

Stopper::~Stopper() {
    if (readFd_ >= 0) close(readFd_);
    if (writeFd_ >= 0) close(writeFd_);
}

void Stopper::request() {
    const char byte = 1;
    [[maybe_unused]] ssize_t ignored = write(writeFd_, &byte, 1);
}

bool Stopper::requested() const {
    pollfd fd{readFd_, POLLIN, 0};
    return poll(&fd, 1, 0) > 0;
}

bool Stopper::sleepFor(unsigned ms) const {
    using Clock = std::chrono::steady_clock;
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0) return !requested();
        pollfd fd{readFd_, POLLIN, 0};
        int ready = poll(&fd, 1, static_cast<int>(left));
        if (ready > 0) return false;
    }
}

std::optional<Line> Line::openPty(std::string& error) {
    int master = -1, slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        error = std::string("openpty: ") + std::strerror(errno);
        return std::nullopt;
    }
    makeRaw(slave, 2400, 'N');
    setNonBlocking(master);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    return Line(master, slave, name);
}

std::optional<std::string> notATerminal(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return std::nullopt;
    if (S_ISREG(info.st_mode)) return "is a regular file, not a terminal";
    if (S_ISDIR(info.st_mode)) return "is a directory, not a terminal";
    if (S_ISFIFO(info.st_mode)) return "is a FIFO, not a terminal";
    if (!S_ISCHR(info.st_mode)) return "is not a terminal";
    // A character device may still be no terminal (/dev/null): ask it.
    int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    termios tio{};
    const bool terminal = tcgetattr(fd, &tio) == 0;
    close(fd);
    if (!terminal) return "is a character device but not a terminal";
    return std::nullopt;
}

std::optional<Line> Line::openDevice(const LineSettings& settings, std::string& error) {
    int fd = open(settings.device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = settings.device + ": " + std::strerror(errno);
        return std::nullopt;
    }
    if (!isatty(fd)) {
        close(fd);
        error = settings.device + " is not a terminal";
        return std::nullopt;
    }
    makeRaw(fd, settings.baud, settings.parity);
    return Line(fd, -1, settings.device);
}

Line::Line(Line&& other) noexcept
    : fd_(other.fd_), keepOpenFd_(other.keepOpenFd_), path_(std::move(other.path_)) {
    other.fd_ = other.keepOpenFd_ = -1;
}

Line::~Line() {
    if (fd_ >= 0) close(fd_);
    if (keepOpenFd_ >= 0) close(keepOpenFd_);
}

void Logger::write(const char* tag, const std::string& text) {
    timeval now{};
    gettimeofday(&now, nullptr);
    std::tm parts{};
    localtime_r(&now.tv_sec, &parts);
    std::fprintf(out_, "%02d:%02d:%02d.%03ld %s %s\n", parts.tm_hour, parts.tm_min, parts.tm_sec,
                 static_cast<long>(now.tv_usec / 1000), tag, text.c_str());
    std::fflush(out_);
}

bool writePaced(int fd, const Bytes& bytes, const LineSettings& settings, const Stopper& stop) {
    if (settings.lineRate == 0) return writeAll(fd, bytes.data(), bytes.size(), stop);

    using Clock = std::chrono::steady_clock;
    const double secondsPerByte = static_cast<double>(settings.bitsPerByte) / settings.lineRate;
    const auto start = Clock::now();
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        // Every byte whose last bit would have left the line by now goes out together.
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        std::size_t due =
            std::min(bytes.size(), static_cast<std::size_t>(elapsed / secondsPerByte) + 1);
        if (due > sent) {
            if (!writeAll(fd, bytes.data() + sent, due - sent, stop)) return false;
            sent = due;
            continue;
        }
        const double nextAt = static_cast<double>(sent) * secondsPerByte;
        const auto wait = std::chrono::duration<double>(nextAt - elapsed);
        const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(wait).count();
        timespec timeout{static_cast<time_t>(micros / 1000000),
                         static_cast<long>(micros % 1000000) * 1000};
        pollfd fdStop{stop.fd(), POLLIN, 0};
        if (ppoll(&fdStop, 1, &timeout, nullptr) > 0) return false;
    }
    return true;
}

namespace {

using Clock = std::chrono::steady_clock;

struct Scheduled {
    Clock::time_point due;  // known once the chunk before it is written, when chained
    unsigned pauseMs;
    bool chained;
    Bytes bytes;
};

// Queues an exchange's chunks: the first one's pause counts from the request's
// arrival, each next one's from the moment the one before it was written. The
// queue keeps line order, since the meter speaks one answer at a time.
void schedule(std::deque<Scheduled>& queue, const std::vector<Chunk>& plan) {
    bool first = true;
    for (const Chunk& chunk : plan) {
        const auto due = first ? Clock::now() + std::chrono::milliseconds(chunk.pauseMs)
                               : Clock::time_point::max();
        queue.push_back({due, chunk.pauseMs, !first, chunk.bytes});
        first = false;
    }
}

// Poll timeout until the first queued chunk is due; -1 with nothing queued.
int msUntilDue(const std::deque<Scheduled>& queue) {
    if (queue.empty()) return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(queue.front().due - Clock::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

// A client that came while another one is served: its connection ends at once.
void refuseClient(int listenFd, Logger& log) {
    const int fd = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    close(fd);
    log.write("NOTE", "refused a second client: one client at a time");
}

// The loop of serve() on a pty or device (listenFd -1), or on a client's
// socket, which ends with kClientLeft when the client goes.
int serveFd(int fd, int listenFd, Session& session, const LineSettings& lineSettings, Logger& log,
            const Stopper& stop) {
    const bool client = listenFd >= 0;
    std::uint8_t buffer[4096];
    std::deque<Scheduled> queue;
    LineSettings settings = lineSettings;  // pacing follows a baud switch
    unsigned pendingBaud = 0;
    auto failed = [&] { return stop.requested() ? 0 : client ? kClientLeft : 1; };
    for (;;) {
        while (!queue.empty() && queue.front().due <= Clock::now()) {
            if (!writePaced(fd, queue.front().bytes, settings, stop)) return failed();
            log.write("TX", toHex(queue.front().bytes));
            queue.pop_front();
            if (!queue.empty() && queue.front().chained)
                queue.front().due = Clock::now() + std::chrono::milliseconds(queue.front().pauseMs);
        }
        if (queue.empty() && pendingBaud != 0) {  // the E5 went out at the old rate
            setLineBaud(fd, pendingBaud);
            if (settings.lineRate != 0) settings.lineRate = pendingBaud;
            log.write("NOTE", "line now at " + std::to_string(pendingBaud) + " baud");
            pendingBaud = 0;
        }
        pollfd fds[3] = {{fd, POLLIN, 0}, {stop.fd(), POLLIN, 0}, {listenFd, POLLIN, 0}};
        int ready = poll(fds, client ? 3 : 2, msUntilDue(queue));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return 1;
        if (fds[1].revents & POLLIN) return 0;
        if (fds[0].revents & POLLNVAL) return 1;
        if (client && (fds[2].revents & POLLIN)) refuseClient(listenFd, log);
        if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;

        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (got <= 0 && client) return kClientLeft;  // closed (0) or reset
        if (got <= 0) {
            // A device that went away, or a hang-up: wait and try again rather than spin.
            if (!stop.sleepFor(100)) return 0;
            continue;
        }
        const Bytes heard(buffer, buffer + got);
        log.write("RX", toHex(heard));
        if (session.echoes()) {
            if (!writePaced(fd, heard, settings, stop)) return failed();
            log.write("TX", toHex(heard));
        }
        session.hearAt(lineBaud(fd));  // 0 on a socket: the gateway's rate is not known
        for (const Exchange& exchange : session.feed(heard, localNow())) {
            if (exchange.newLineBaud != 0) pendingBaud = exchange.newLineBaud;
            std::string text = exchange.what + ": " + toHex(exchange.request);
            if (!exchange.answeredBy.empty()) {
                text += " answered by ";
                for (std::size_t i = 0; i < exchange.answeredBy.size(); ++i)
                    text += (i ? ", " : "") + exchange.answeredBy[i];
            }
            log.write("REQ", text);
            if (!exchange.note.empty()) log.write("NOTE", exchange.note);
            schedule(queue, exchange.plan);
        }
    }
}

}  // namespace

int serve(const Line& line, Session& session, const LineSettings& settings, Logger& log,
          const Stopper& stop) {
    return serveFd(line.fd(), -1, session, settings, log, stop);
}

int serveClient(int fd, int listenFd, Session& session, const LineSettings& settings, Logger& log,
                const Stopper& stop) {
    return serveFd(fd, listenFd, session, settings, log, stop);
}

}  // namespace mb::sim
