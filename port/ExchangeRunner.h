// Runs exchanges on the open line: writes each request in one write, hands
// every byte the owner read from the line to the exchange it belongs to, keeps
// its deadline, repeats a request that got no answer when asked to, and ends
// each run with one result. The window and the command line both run their
// requests here and differ only in how they show the result.
//
// Which request an answer belongs to:
//   - within one run, the earliest attempt still unanswered (a meter answers
//     requests in the order it heard them);
//   - a new run ends the one still running: its verdict is final, and the
//     part of an answer still arriving counts for the new request;
//   - after a run ended without an answer, a late answer before the next run
//     still makes a late pass, reported as a second result of that run.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <memory>
#include <optional>

#include "core/Exchange.h"

class SerialPortService;

class ExchangeRunner : public QObject {
    Q_OBJECT
  public:
    struct Options {
        // The wait for the answer. Default: 1 s plus the time the protocol's
        // longest answer takes at the line's settings. On a gateway both waits
        // get the network's delay added (networkDelay).
        std::optional<std::chrono::milliseconds> timeout;
        // The wait for the answer's first byte when shorter (a quick scan).
        std::optional<std::chrono::milliseconds> firstByteWithin;
        int retries = 0;  // requests repeated after no reply or an invalid one
    };

    explicit ExchangeRunner(SerialPortService& port, QObject* parent = nullptr);
    ~ExchangeRunner() override;

    // Writes the request and starts judging. False, with nothing started, when
    // the line did not take the bytes.
    bool start(mb::ExchangeRequest request, Options options);
    bool start(mb::ExchangeRequest request) { return start(std::move(request), Options()); }
    // Bytes the owner read from the line.
    void receive(const QByteArray& bytes);
    // The line is gone: the running exchange ends now with `reason`.
    void abandon(const QString& reason);
    bool running() const { return current_ != nullptr; }

    // The wait a request gets by default on the open line.
    std::chrono::milliseconds defaultTimeout(const mb::Protocol& protocol) const;
    // What a gateway adds to every wait for a request of `requestBytes`: its
    // time on the gateway's line, twice the round trip measured when the
    // connection was made, and 20 ms of the gateway's forwarding. 0 on a
    // serial line.
    std::chrono::milliseconds networkDelay(std::size_t requestBytes) const;

  signals:
    void written(const QByteArray& bytes);
    void finished(const mb::ExchangeResult& result);

  private:
    mb::Exchange::Timing timing(const mb::ExchangeRequest& request) const;
    std::chrono::milliseconds lineTimeout(const mb::Protocol& protocol) const;
    bool writeAttempt();
    void onDeadline();
    void armDeadline();
    void conclude();
    mb::ExchangeResult attributed(const mb::Exchange& answered) const;

    SerialPortService& port_;
    mb::ExchangeRequest request_;
    Options options_;
    int attempt_ = 0;
    std::unique_ptr<mb::Exchange> current_;
    // The earliest attempt of this run that ended unanswered, and its number.
    std::unique_ptr<mb::Exchange> unanswered_;
    int unansweredAttempt_ = 0;
    QTimer deadline_;
};
