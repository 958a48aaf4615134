// One serial line, opened for one command: writes a request and collects the
// reply until a whole frame of the expected kind and a quiet gap after it, or
// until the time is up. The echo of our own request (a two-wire bus hears
// itself) is skipped before the reply is judged.
#pragma once

#include <QSerialPort>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/LineFrames.h"

struct SerialSettings;

namespace mb::cli {

using Bytes = std::vector<std::uint8_t>;

struct Reply {
    Bytes late;                 // bytes that came before our request went out
    Bytes bytes;                // everything after the echo, in order
    std::vector<Bytes> frames;  // the whole frames found in `bytes`
    bool garbage = false;       // bytes that belong to no frame

    bool silent() const { return bytes.empty(); }
    // Exactly one frame and nothing else: the only reading a master may trust.
    bool clean() const { return frames.size() == 1 && !garbage; }
};

struct Timing {
    int firstByteMs;  // from the end of our request to the reply's first byte
    int totalMs;      // from the end of our request to the reply's end
};

class LineSession {
  public:
    // `port` is a device path or COMn (through the port map).
    bool open(const QString& port, const SerialSettings& settings, std::string& error);

    Reply exchange(const Bytes& request, FrameKind kind, Timing timing);
    // Waits up to `ms` for bytes and returns them (monitor).
    Bytes listen(int ms);

    // Time one byte takes on the line, in microseconds (start, data, parity, stop bits).
    double byteMicros() const { return byteMicros_; }
    double bitMicros() const { return bitMicros_; }
    int bytesMs(std::size_t count) const;
    // The reply wait for `read`: 1 s plus the longest frame's time.
    int defaultReadTimeoutMs() const { return 1000 + bytesMs(kLongestFrameBytes); }

  private:
    QSerialPort port_;
    double byteMicros_ = 0;
    double bitMicros_ = 0;
};

// Resolves COMn through METERBENCH_PORTS or the system's ports; other text is a path.
QString resolvePort(const QString& port);

// The reply with the echo of `request` removed and its frames found. `complete`
// is false while the bytes may still be the start of a frame or of the echo.
Reply judgeReply(const Bytes& received, const Bytes& request, FrameKind kind, bool& complete);

}  // namespace mb::cli
