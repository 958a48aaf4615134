// One protocol page as a unit: its panel and controls, its continuous-reading
// timer and interval field, its requests and the send sequence they share. The
// window lists its pages, routes their buttons and ticks to them one event at
// a time, and serves them through PageHost.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/ExchangeRequest.h"
#include "core/ExchangeSequence.h"
#include "pages/PageTimer.h"

class PageHost;
class QLineEdit;
class QWidget;
class TextPane;

class ProtocolPage {
  public:
    // A button of the stored layout this page handles, by its layout name.
    struct ButtonAction {
        QString buttonName;
        std::function<void()> handler;
    };

    explicit ProtocolPage(PageHost& host);
    virtual ~ProtocolPage();
    ProtocolPage(const ProtocolPage&) = delete;
    ProtocolPage& operator=(const ProtocolPage&) = delete;

    // The page's panel; the stored button layout places buttons inside it by name.
    QWidget* panel() const { return panel_; }
    // The layout name of the button that shows this page.
    virtual QString showButtonName() const = 0;
    virtual std::vector<ButtonAction> buttonActions() = 0;

    // "Read Data"; also every tick of the page's timer.
    virtual void readData() = 0;
    // "Start": with the port connected the timer runs and the interval field
    // turns green; otherwise the failure prompt and nothing changes. Start sends
    // nothing itself; a second Start leaves the one timer in its rhythm.
    void startContinuousReading();
    // "Stop" (also Connect, Disconnect, a lost port): timer off, field back to
    // the window-background colour.
    void stopContinuousReading();
    void tick() { readData(); }

    PageTimer& timer() { return timer_; }
    TextPane& transmittedPane() const { return *transmittedPane_; }

  protected:
    PageHost& host() const { return host_; }
    // Builds the interval field and the Transmitted Data pane of the page's
    // layout, common to every page, under `panel`.
    void buildCommonControls(QWidget* panel, const QString& frameName, const QString& fieldName,
                             const QString& secLabelName, const QString& transmittedFrameName,
                             const QString& paneName);
    // The send sequence for the frame in the shared TxBuffer up to `lastIndex`:
    // the frame into "Transmitted Data", the failure prompt when the port is not
    // connected, the reply panes emptied, the pane read back into bytes, and
    // those bytes run as the exchange `asExchange` makes of them.
    using ExchangeOf = mb::ExchangeRequest (*)(std::vector<std::uint8_t> bytes);
    void send(int lastIndex, ExchangeOf asExchange);
    // An operation's request, built whole by the protocol's request builder:
    // into "Transmitted Data", the failure prompt when the port is closed, the
    // reply panes emptied, then run as it is.
    void sendOperation(mb::ExchangeRequest request);
    // A write goes only after the user said yes to `change` on `meter`.
    void sendWrite(const QString& meter, const QString& change, mb::ExchangeRequest request);
    // An operation of several exchanges (its first request into "Transmitted
    // Data"); `done` gets what it came to.
    using Done = std::function<void(const mb::ExchangeResult&)>;
    void sendSequence(std::unique_ptr<mb::ExchangeSequence> sequence, Done done = {});
    // The same after the user said yes to `change` on `meter`.
    void sendWriteSequence(const QString& meter, const QString& change,
                           std::unique_ptr<mb::ExchangeSequence> sequence, Done done = {});

    QWidget* panel_ = nullptr;

  private:
    PageHost& host_;
    PageTimer timer_;
    QLineEdit* intervalField_ = nullptr;
    TextPane* transmittedPane_ = nullptr;
};
