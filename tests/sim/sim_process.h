// Runs build/bin/meterbench-sim as a child process and talks to it through
// the pseudo-terminal it prints on its first line.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/sim/bytes.h"

extern char** environ;

namespace mb::sim::test {

class SimProcess {
  public:
    explicit SimProcess(std::vector<std::string> args) {
        program_ = binDir() + "/meterbench-sim";
        int fds[2], errFds[2];
        if (pipe(fds) != 0 || pipe(errFds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_adddup2(&actions, errFds[1], STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, errFds[0]);
        std::vector<char*> argv{program_.data()};
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, program_.c_str(), &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        close(errFds[1]);
        out_ = fds[0];
        err_ = errFds[0];
        if (pid_ > 0) path_ = readLine(5000);
    }

    ~SimProcess() {
        stop();
        if (line_ >= 0) close(line_);
        if (out_ >= 0) close(out_);
        if (err_ >= 0) close(err_);
    }

    bool started() const { return pid_ > 0 && !path_.empty(); }
    const std::string& program() const { return program_; }
    const std::string& path() const { return path_; }

    // Opens the line as a program would, raw, with the window's 2400,E,8,1.
    bool openLine() {
        line_ = open(path_.c_str(), O_RDWR | O_NOCTTY);
        if (line_ < 0) return false;
        termios tio{};
        tcgetattr(line_, &tio);
        cfmakeraw(&tio);
        tio.c_cflag |= PARENB;
        cfsetspeed(&tio, B2400);
        tcsetattr(line_, TCSANOW, &tio);  // a pty may drop the parity; that is fine
        return true;
    }

    bool send(const Bytes& bytes) {
        return write(line_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

    // Reads until `count` bytes arrived or the time is up.
    Bytes receive(std::size_t count, int timeoutMs = 3000) {
        Bytes got;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (got.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  until - std::chrono::steady_clock::now())
                                  .count();
            if (left <= 0) break;
            pollfd fd{line_, POLLIN, 0};
            if (poll(&fd, 1, static_cast<int>(left)) <= 0) break;
            std::uint8_t buffer[512];
            ssize_t n = read(line_, buffer, std::min(sizeof buffer, count - got.size()));
            if (n <= 0) break;
            got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }

    // One line of the log, without its newline; empty when none came in time.
    std::string readLine(int timeoutMs) {
        std::string text;
        for (;;) {
            pollfd fd{out_, POLLIN, 0};
            if (poll(&fd, 1, timeoutMs) <= 0) return {};
            char c;
            if (read(out_, &c, 1) != 1) return {};
            if (c == '\n') return text;
            text += c;
        }
    }

    // Everything the program wrote on stderr; call after stop().
    std::string errors() {
        std::string text;
        char buffer[512];
        for (ssize_t n; (n = read(err_, buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<std::size_t>(n));
        return text;
    }

    // Sends the signal (SIGTERM unless given) and returns the exit status (-1 when it did not exit
    // normally).
    int stop(int signal = SIGTERM) {
        if (pid_ <= 0) return -1;
        kill(pid_, signal);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    // MB_BIN_DIR when set; otherwise the folder of this test program, where
    // the build puts every executable.
    static std::string binDir() {
        if (const char* dir = std::getenv("MB_BIN_DIR"); dir && *dir) return dir;
        char self[4096] = {};
        ssize_t size = readlink("/proc/self/exe", self, sizeof self - 1);
        std::string path(self, size > 0 ? static_cast<std::size_t>(size) : 0);
        const auto slash = path.rfind('/');
        return slash == std::string::npos ? std::string("build/bin") : path.substr(0, slash);
    }

    std::string program_;
    std::string path_;
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    int line_ = -1;
};

}  // namespace mb::sim::test
