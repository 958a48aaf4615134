// What a protocol page may ask of the window around it. The page owns its
// controls, timer and requests; the window owns the line, the shared reply
// panes, the counters and the prompts.
#pragma once

#include <QByteArray>
#include <QString>

class ProtocolPage;

namespace mb {
class ProtocolCore;
}

class PageHost {
  public:
    virtual ~PageHost() = default;

    // The protocol state shared by every page (TxBuffer, ring, counters).
    virtual mb::ProtocolCore& core() = 0;
    virtual bool portConnected() const = 0;
    // All bytes in one write; false when the port is closed or refuses them.
    virtual bool writeToPort(const QByteArray& bytes) = 0;
    // The shared failure prompt: "Port" + port text + "Cannot Open！".
    virtual void showFailurePrompt() = 0;
    // A field's text cannot make a request: says so; the page sends nothing.
    virtual void showInputRefused(const QString& title, const QString& text) = 0;
    // Empties "Received Data" and "Data Analysis" for the reply to a new request.
    virtual void clearReplyPanes() = 0;
    // Rewrites the TX counter caption after a request.
    virtual void showTxCount() = 0;
    // A request of `page` went out now. `replyJudged`: it armed a reply parser,
    // so its reply is timed and decoded (Read Data); otherwise the answer is
    // only echoed. `written`: false when nothing reached the line.
    virtual void requestSent(ProtocolPage& page, bool replyJudged, bool written) = 0;
    // The page's continuous reading started or stopped.
    virtual void continuousReadingChanged(ProtocolPage& page, bool running) = 0;
};
