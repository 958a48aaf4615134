#include "tests/cli/CliRun.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

extern char** environ;

namespace mb::cli::test {
namespace {

std::string drain(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    close(fd);
    return text;
}

int spawnCli(const std::vector<std::string>& args, int& in, int& out, int& err) {
    int inFds[2], outFds[2], errFds[2];
    if (pipe(inFds) || pipe(outFds) || pipe(errFds)) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inFds[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errFds[1], STDERR_FILENO);
    for (int fd : {inFds[1], outFds[0], errFds[0]}) posix_spawn_file_actions_addclose(&actions, fd);
    std::string program = binDir() + "/meterbench-cli";
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(inFds[0]);
    close(outFds[1]);
    close(errFds[1]);
    in = inFds[1];
    out = outFds[0];
    err = errFds[0];
    return pid;
}

int waitStatus(int pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

std::string binDir() {
    const char* dir = std::getenv("MB_BIN_DIR");
    return dir && *dir ? dir : "build/bin";
}

CliResult runCli(const std::vector<std::string>& args, const std::string& input) {
    int in = -1, out = -1, err = -1;
    const int pid = spawnCli(args, in, out, err);
    CliResult result;
    if (pid < 0) return result;
    if (!input.empty() && write(in, input.data(), input.size()) < 0) result.err = "stdin write failed";
    close(in);
    // Read stderr beside stdout, so neither pipe fills while the other is read.
    std::thread errReader([&] { result.err += drain(err); });
    result.out = drain(out);
    errReader.join();
    result.status = waitStatus(pid);
    return result;
}

CliChild::CliChild(const std::vector<std::string>& args) {
    int in = -1;
    pid_ = spawnCli(args, in, out_, err_);
    close(in);
}

CliChild::~CliChild() {
    if (pid_ > 0) stop(SIGKILL);
}

CliResult CliChild::stop(int signal) {
    CliResult result;
    if (pid_ <= 0) return result;
    kill(pid_, signal);
    std::thread errReader([&] { result.err = drain(err_); });
    result.out = drain(out_);
    errReader.join();
    result.status = waitStatus(pid_);
    pid_ = -1;
    return result;
}

}  // namespace mb::cli::test
