// What a protocol page may ask of the window around it. The page owns its
// controls, timer and request fields; the window owns the line, the shared
// reply panes, the counters and the prompts, runs the page's requests as
// exchanges and shows their results.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "core/ExchangeRequest.h"
#include "core/ExchangeSequence.h"
#include "core/TxBuffer.h"

class ProtocolPage;

class PageHost {
  public:
    virtual ~PageHost() = default;

    // The one buffer every page builds its requests in: a byte keeps its value
    // until a request writes it again.
    virtual mb::TxBuffer& txBuffer() = 0;
    virtual bool portConnected() const = 0;
    // The shared failure prompt: "Port" + port text + "Cannot Open！".
    virtual void showFailurePrompt() = 0;
    // A field's text cannot make a request: says so; the page sends nothing.
    virtual void showInputRefused(const QString& title, const QString& text) = 0;
    // Before a write: asks, naming the meter and the change; true to go ahead.
    virtual bool confirmWrite(const QString& meter, const QString& change) = 0;
    // Empties "Received Data" and "Data Analysis" for the reply to a new request.
    virtual void clearReplyPanes() = 0;
    // Writes the request in one write when the port is connected and judges
    // what comes back; the result is shown by the window. The TX counter
    // shows only bytes the line took.
    virtual void runExchange(mb::ExchangeRequest request) = 0;
    // Runs the steps of `sequence` one after another, each as runExchange runs
    // one (every step goes into the session record); the panes show what the
    // whole operation came to, which `done` then gets. A new request ends it.
    // `stepSent` gets each later step's request as it goes out.
    virtual void runSequence(std::unique_ptr<mb::ExchangeSequence> sequence,
                             std::function<void(const mb::ExchangeResult&)> done = {},
                             std::function<void(const mb::ExchangeRequest&)> stepSent = {}) = 0;
    // A value a write needs (a new address, a day): nullopt when the user cancels.
    virtual std::optional<QString> askInput(const QString& title, const QString& label,
                                            const QString& initial) = 0;
    // The meter now talks at `baud`: the window's line follows and says so.
    virtual void followBaudRate(long baud) = 0;
    // The page's continuous reading started or stopped.
    virtual void continuousReadingChanged(ProtocolPage& page, bool running) = 0;
};
