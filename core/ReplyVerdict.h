// The lines the Data Analysis pane shows for one request's outcome, and the
// time a reply is waited for.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace mb {

inline constexpr const char* kCheckPassText = "Check Pass\xEF\xBC\x81";  // "Check Pass！"
// The first line instead for a good frame that is the meter's error answer.
inline constexpr const char* kMeterErrorText = "The meter answered with an error";

// "42 ms"; under a millisecond to a tenth, "0.4 ms".
std::string millisecondsText(std::chrono::microseconds duration);

// "2.2 s"; under a second in whole milliseconds, "400 ms".
std::string timeoutText(std::chrono::milliseconds timeout);

// "Reply in 42 ms"
std::string replyTimeLine(std::chrono::microseconds replyTime);

// "No reply within 2.2 s"
std::string noReplyLine(std::chrono::milliseconds timeout);

// "No valid reply within 2.2 s (38 bytes received, checksum wrong)"
std::string invalidReplyLine(std::chrono::milliseconds timeout, std::size_t bytesReceived, std::string_view reason);

// One second for the meter to answer plus the time the longest frame takes on
// the line at these settings (a character is a start bit, the data bits, the
// parity bit if any and the stop bits), rounded up to the millisecond.
// A baud rate of zero or less gives the one second alone.
// How long `bytes` characters take on a line at these settings.
std::chrono::microseconds lineTime(int baud, int dataBits, bool parity, double stopBits,
                                   std::size_t bytes);

std::chrono::milliseconds defaultReplyTimeout(int baud, int dataBits, bool parity, double stopBits,
                                              std::size_t longestFrameBytes);

}  // namespace mb
