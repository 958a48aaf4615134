// Runs build/bin/meterbench-cli (from MB_BIN_DIR) with arguments and optional
// standard input; collects its output and exit status.
#pragma once

#include <string>
#include <vector>

namespace mb::cli::test {

struct CliResult {
    int status = -1;  // exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};

std::string binDir();
CliResult runCli(const std::vector<std::string>& args, const std::string& input = {});

// A child running meterbench-cli that the test stops with a signal (monitor).
class CliChild {
  public:
    explicit CliChild(const std::vector<std::string>& args);
    ~CliChild();
    // Sends `signal`, waits, returns what runCli would.
    CliResult stop(int signal);

  private:
    int pid_ = -1;
    int out_ = -1;
    int err_ = -1;
};

}  // namespace mb::cli::test
