#include "port/ExchangeRunner.h"

#include <algorithm>
#include <cmath>

#include "core/Protocol.h"
#include "core/ReplyVerdict.h"
#include "port/SerialPortService.h"

namespace {

using Clock = mb::Exchange::Clock;
using std::chrono::milliseconds;

struct CharacterTiming {
    int baud;
    int dataBits;
    bool parity;
    double stopBits;
};

CharacterTiming characterTiming(const SerialSettings& s) {
    const double stop = s.stopBits == QSerialPort::OneStop         ? 1.0
                        : s.stopBits == QSerialPort::OneAndHalfStop ? 1.5
                                                                    : 2.0;
    return {s.baudRate, static_cast<int>(s.dataBits), s.parity != QSerialPort::NoParity, stop};
}

std::span<const std::uint8_t> asBytes(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

// Silence after an answer long enough that a second meter's answer would
// have begun: three characters, never under 20 ms of adapter latency.
constexpr milliseconds kShortestQuietGap{20};
constexpr std::size_t kQuietCharacters = 3;

// A gateway gathers the bytes it hears on its serial side for a moment before
// it sends them on; 20 ms covers the usual settings, as for a USB adapter.
constexpr milliseconds kGatewayForwarding{20};

}  // namespace

ExchangeRunner::ExchangeRunner(SerialPortService& port, QObject* parent)
    : QObject(parent), port_(port) {
    deadline_.setSingleShot(true);
    deadline_.setTimerType(Qt::PreciseTimer);
    connect(&deadline_, &QTimer::timeout, this, &ExchangeRunner::onDeadline);
}

ExchangeRunner::~ExchangeRunner() = default;

milliseconds ExchangeRunner::lineTimeout(const mb::Protocol& protocol) const {
    const CharacterTiming c = characterTiming(port_.lineSettings());
    return mb::defaultReplyTimeout(c.baud, c.dataBits, c.parity, c.stopBits,
                                   protocol.longestAnswerBytes());
}

milliseconds ExchangeRunner::defaultTimeout(const mb::Protocol& protocol) const {
    return lineTimeout(protocol) + networkDelay(0);
}

// On a gateway the request leaves at once, as on a pty, but still has to be
// clocked out on the gateway's line before the meter hears it; then the
// answer is forwarded and crosses the network. Twice the round trip measured
// at connecting leaves room for the network's jitter.
milliseconds ExchangeRunner::networkDelay(std::size_t requestBytes) const {
    if (!port_.overNetwork()) return milliseconds{0};
    const CharacterTiming c = characterTiming(port_.lineSettings());
    const auto request = mb::lineTime(c.baud, c.dataBits, c.parity, c.stopBits, requestBytes);
    return std::chrono::ceil<milliseconds>(request + 2 * port_.networkRoundTrip()) +
           kGatewayForwarding;
}

mb::Exchange::Timing ExchangeRunner::timing(const mb::ExchangeRequest& request) const {
    const CharacterTiming c = characterTiming(port_.lineSettings());
    mb::Exchange::Timing t;
    const milliseconds answerWithin = options_.timeout.value_or(lineTimeout(*request.protocol));
    const milliseconds network = networkDelay(request.bytes.size());
    t.answerWithin = answerWithin + network;
    t.firstByteWithin =
        std::min(options_.firstByteWithin.value_or(answerWithin), answerWithin) + network;
    // A pty or a gateway takes the whole request at once; a real line clocks it out first.
    if (!port_.onPseudoTerminal() && !port_.overNetwork())
        t.requestOnLine = mb::lineTime(c.baud, c.dataBits, c.parity, c.stopBits, request.bytes.size());
    const auto quiet = mb::lineTime(c.baud, c.dataBits, c.parity, c.stopBits, kQuietCharacters);
    t.quietGap = std::max(kShortestQuietGap, std::chrono::ceil<milliseconds>(quiet));
    return t;
}

bool ExchangeRunner::start(mb::ExchangeRequest request, Options options) {
    // The run still going ends now; the answer it was receiving carries over.
    std::vector<std::uint8_t> carried;
    if (current_) {
        carried = current_->unjudgedBytes();
        current_->supersede();
        const mb::ExchangeResult superseded = current_->result();
        current_.reset();
        deadline_.stop();
        emit finished(superseded);
    }
    unanswered_.reset();
    request_ = std::move(request);
    options_ = options;
    attempt_ = 0;
    if (!writeAttempt()) return false;
    current_->carryOver(carried);
    armDeadline();
    return true;
}

bool ExchangeRunner::writeAttempt() {
    const QByteArray bytes(reinterpret_cast<const char*>(request_.bytes.data()),
                           static_cast<qsizetype>(request_.bytes.size()));
    if (!port_.write(bytes)) return false;
    ++attempt_;
    current_ = std::make_unique<mb::Exchange>(request_, timing(request_), Clock::now());
    emit written(bytes);
    return true;
}

void ExchangeRunner::receive(const QByteArray& bytes) {
    const auto now = Clock::now();
    if (current_) {
        if (current_->receive(asBytes(bytes), now)) conclude();
        else armDeadline();
        return;
    }
    if (unanswered_ && unanswered_->receive(asBytes(bytes), now)) {
        mb::ExchangeResult late = unanswered_->result();
        late.attempt = unansweredAttempt_;
        late.attempts = attempt_;
        unanswered_.reset();
        emit finished(late);
    }
}

void ExchangeRunner::abandon(const QString& reason) {
    if (!current_) return;
    deadline_.stop();
    // Not superseded: this is the run's result, and whoever waits for it must get it.
    current_->endNow();
    mb::ExchangeResult result = current_->result();
    if (!result.answered()) result.reason = reason.toStdString();
    current_.reset();
    unanswered_.reset();
    emit finished(result);
}

void ExchangeRunner::onDeadline() {
    if (!current_) return;
    if (current_->elapse(Clock::now()))
        conclude();
    else
        armDeadline();
}

void ExchangeRunner::armDeadline() {
    const auto left = std::chrono::ceil<milliseconds>(current_->deadline() - Clock::now());
    deadline_.start(std::max(milliseconds{0}, left));
}

// The running attempt has ended: repeat it, or end the run with its result.
void ExchangeRunner::conclude() {
    deadline_.stop();
    std::unique_ptr<mb::Exchange> ended = std::move(current_);
    const mb::ExchangeResult& result = ended->result();
    const bool repeat = !result.answered() && result.verdict != mb::Verdict::Collision &&
                        attempt_ <= options_.retries;
    if (!result.answered() && !unanswered_) {
        unanswered_ = std::move(ended);
        unansweredAttempt_ = attempt_;
    }
    if (repeat && writeAttempt()) {
        armDeadline();
        return;
    }
    mb::ExchangeResult final = ended ? attributed(*ended) : unanswered_->result();
    final.attempts = attempt_;
    if (!ended) final.attempt = unansweredAttempt_;
    if (final.answered()) unanswered_.reset();  // only an unanswered run waits for a late answer
    emit finished(final);
}

// An answer that came while an earlier attempt of the run was still
// unanswered belongs to that attempt, timed from its request.
mb::ExchangeResult ExchangeRunner::attributed(const mb::Exchange& answered) const {
    mb::ExchangeResult result = answered.result();
    result.attempt = attempt_;
    if (!result.answered() || !unanswered_) return result;
    result.attempt = unansweredAttempt_;
    result.late = true;
    const auto earlier = std::chrono::duration_cast<std::chrono::microseconds>(
        answered.requestLeftAt() - unanswered_->requestLeftAt());
    if (result.replyTime) *result.replyTime += earlier;
    if (result.firstByteTime) *result.firstByteTime += earlier;
    return result;
}
