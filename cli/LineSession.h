// One serial line, opened for one command. Its requests run on the same
// exchange engine as the window's (ExchangeRunner): this class only waits
// for each result, so a command reads like a script.
#pragma once

#include <QString>
#include <chrono>
#include <optional>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ExchangeResult.h"
#include "port/ExchangeRunner.h"
#include "port/SerialPortService.h"

namespace mb::cli {

using Bytes = std::vector<std::uint8_t>;

class LineSession {
  public:
    LineSession();

    // `port` is a device path or COMn (through the port map); `settings` as
    // the window writes them ("2400,E,8,1").
    bool open(const QString& port, const QString& settings, std::string& error);

    // Runs one request (with its retries) and returns how it ended.
    ExchangeResult exchange(ExchangeRequest request, const ExchangeRunner::Options& options);
    // The answer to the previous request that came only after its result
    // (found when the next request went out).
    const std::optional<ExchangeResult>& lateAnswer() const { return lateAnswer_; }
    // Waits up to `ms` for bytes and returns them (monitor), judging nothing.
    Bytes listen(int ms);

    // Time one bit and one byte take on the line (start, data, parity, stop bits).
    double bitMicros() const;
    double byteMicros() const;
    int bytesMs(std::size_t count) const;
    // The wait for an answer when the user gives none.
    std::chrono::milliseconds defaultTimeout(const mb::Protocol& protocol) const {
        return runner_.defaultTimeout(protocol);
    }

  private:
    SerialPortService port_;
    ExchangeRunner runner_;
    std::optional<ExchangeResult> lateAnswer_;
    bool listening_ = false;
};

// Resolves COMn through METERBENCH_PORTS or the system's ports; other text is a path.
QString resolvePort(const QString& port);

}  // namespace mb::cli
