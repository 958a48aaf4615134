// The line side of the virtual meter: a pseudo-terminal or a serial device,
// paced writing, and the read-answer loop.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "tools/sim/bytes.h"
#include "tools/sim/session.h"

namespace mb::sim {

struct LineSettings {
    std::string device;         // empty: open a pseudo-terminal
    unsigned baud = 2400;       // applied to a device only
    char parity = 'E';          // N, E, O, M or S; applied to a device where it can be held
    unsigned lineRate = 0;      // 0: write at once; otherwise pace output at this baud rate
    unsigned bitsPerByte = 11;  // start + 8 data + parity + stop
};

// A wake-up that can be triggered from another thread or a signal handler.
class Stopper {
  public:
    Stopper();
    ~Stopper();
    Stopper(const Stopper&) = delete;
    Stopper& operator=(const Stopper&) = delete;

    void request();  // async-signal-safe
    bool requested() const;
    int fd() const { return readFd_; }

    // Waits up to ms milliseconds; false when a stop was requested meanwhile.
    bool sleepFor(unsigned ms) const;

  private:
    int readFd_ = -1;
    int writeFd_ = -1;
};

// Why path cannot serve as a line (a regular file, a directory, a FIFO, a
// character device that is no terminal such as /dev/null), or nullopt when it
// is a terminal or does not exist (opening it then says what is wrong).
std::optional<std::string> notATerminal(const std::string& path);

// An open line. For a pseudo-terminal the meter talks on the master side and
// keeps the slave open too, so the slave keeps its raw settings and the
// master never sees a hang-up while no program has the slave open.
class Line {
  public:
    static std::optional<Line> openPty(std::string& error);
    static std::optional<Line> openDevice(const LineSettings& settings, std::string& error);

    Line(Line&& other) noexcept;
    Line& operator=(Line&&) = delete;
    Line(const Line&) = delete;
    ~Line();

    int fd() const { return fd_; }
    const std::string& path() const { return path_; }  // what a program opens

  private:
    Line(int fd, int keepOpenFd, std::string path)
        : fd_(fd), keepOpenFd_(keepOpenFd), path_(path) {}

    int fd_ = -1;
    int keepOpenFd_ = -1;
    std::string path_;
};

// One log line a call, "HH:MM:SS.mmm TAG text", flushed at once.
class Logger {
  public:
    explicit Logger(std::FILE* out) : out_(out) {}
    void write(const char* tag, const std::string& text);

  private:
    std::FILE* out_;
};

// Writes bytes, pacing them as a line at settings.lineRate would deliver them.
// False when stopped or when the line failed.
bool writePaced(int fd, const Bytes& bytes, const LineSettings& settings, const Stopper& stop);

// Reads requests and writes the answers until a stop is requested or the line
// fails for good. It keeps reading while an answer waits for its time (a late
// meter), so every read is logged when it arrives; with the echo fault every
// byte read goes straight back. Returns 0 on a requested stop, 1 on a line failure.
int serve(const Line& line, Session& session, const LineSettings& settings, Logger& log,
          const Stopper& stop);

// serve() for one client of the TCP server: returns kClientLeft when the client
// closed or reset its connection; a client waiting on `listenFd` meanwhile is
// accepted and closed at once (one client at a time).
inline constexpr int kClientLeft = 2;
int serveClient(int fd, int listenFd, Session& session, const LineSettings& settings, Logger& log,
                const Stopper& stop);

}  // namespace mb::sim
