// The commands of meterbench-cli. Each takes the words after its name and
// returns the exit status: 0 success, 1 no valid reply / failed check, 2 usage
// or port error (one line on standard error).
#pragma once

#include <string>
#include <vector>

namespace mb::cli {

using Args = std::vector<std::string>;

inline constexpr int kExitOk = 0;
inline constexpr int kExitNoValidReply = 1;
inline constexpr int kExitUsage = 2;

int decodeCommand(const Args& args);
int readCommand(const Args& args);
int setAddressCommand(const Args& args);
int scanCommand(const Args& args);
int monitorCommand(const Args& args);
int valveCommand(const Args& args);
int setTimeCommand(const Args& args);
int setBaudCommand(const Args& args);
int resetCommand(const Args& args);
int testCommand(const Args& args);  // a test plan over many lines

// Prints "meterbench-cli: <message>" on standard error; returns kExitUsage.
int usageError(const std::string& message);
// The same; with --json among `args` also one object on standard output,
// {"check":"error","reason":...}, as every verdict has.
int usageError(const std::string& message, const Args& args);

}  // namespace mb::cli
