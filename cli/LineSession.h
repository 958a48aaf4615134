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

    // `port` is a device path, a gateway tcp://HOST:PORT or COMn (through the
    // port map); `settings` as the window writes them ("2400,E,8,1"); on a
    // gateway they time the bytes and the gateway's port has its own.
    bool open(const QString& port, const QString& settings, std::string& error);
    bool isOpen() const { return port_.isOpen(); }
    // Why the open line was lost (a gateway's connection closed, an adapter
    // unplugged); empty while it is not. A line that closed but has not said
    // why yet (a gateway says so a moment later) is given up to 100 ms.
    const std::string& lostReason();
    // A gateway's connection: the round trip measured when connecting.
    bool overNetwork() const { return port_.overNetwork(); }
    std::chrono::microseconds networkRoundTrip() const { return port_.networkRoundTrip(); }

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
    // What a gateway adds to each wait (ExchangeRunner::networkDelay).
    std::chrono::milliseconds networkDelay(std::size_t requestBytes) const {
        return runner_.networkDelay(requestBytes);
    }

  private:
    SerialPortService port_;
    ExchangeRunner runner_;
    std::optional<ExchangeResult> lateAnswer_;
    std::string lostReason_;
    bool listening_ = false;
};

// Resolves COMn through METERBENCH_PORTS or the system's ports; other text is
// a path or a gateway's address, taken as it is.
QString resolvePort(const QString& port);

}  // namespace mb::cli
