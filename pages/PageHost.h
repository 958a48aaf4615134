// What a protocol page may ask of the window around it. The page owns its
// controls, timer and request fields; the window owns the line, the shared
// reply panes, the counters and the prompts, runs the page's requests as
// exchanges and shows their results.
#pragma once

#include <QString>

#include "core/ExchangeRequest.h"
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
    // The page's continuous reading started or stopped.
    virtual void continuousReadingChanged(ProtocolPage& page, bool running) = 0;
};
