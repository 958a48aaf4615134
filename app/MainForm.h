// MainForm: the one window of MeterBench, a thin shell. It lays out its own
// frames, the serial panel and the protocol pages (a list: each page brings
// its controls, timer and requests), creates the buttons from the stored
// layout, and routes every click, tick and receive event, one at a time
// (EventGate), to the part that handles it. Pages reach the window only
// through PageHost; their requests run on the ExchangeRunner, whose one
// `finished` signal carries every result to the panes, the tally and the
// session record. The window judges nothing itself.
#pragma once

#include <QByteArray>
#include <QUrl>
#include <chrono>
#include <optional>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/EventGate.h"
#include "app/Prompter.h"
#include "app/ReplyTimeoutSetting.h"
#include "app/ResultView.h"
#include "app/SerialPanel.h"
#include "app/SessionLog.h"
#include "app/WindowLayout.h"
#include "pages/PageHost.h"
#include "port/ExchangeRunner.h"
#include "pages/ProtocolPage.h"
#include "widgets/ReceivedPane.h"

class Bevelo;
class WatchPane;

class MainForm : public QWidget, public PageHost {
    Q_OBJECT
  public:
    // Builds the window and runs the start-up sequence; the port stays closed.
    explicit MainForm(QWidget* parent = nullptr);
    ~MainForm() override;

    Bevelo* button(const QString& layoutName) const;
    const std::vector<std::unique_ptr<ProtocolPage>>& pages() const { return pages_; }
    ProtocolPage& page(std::size_t index) const { return *pages_.at(index); }
    ProtocolPage* shownPage() const;
    ReceivedPane& receivedPane() const { return *frames_.receivedPane; }
    TextPane& analysisPane() const { return *frames_.analysisPane; }
    // The reading history and trend beside the main panel.
    WatchPane& watchPane() const { return *watch_; }
    SerialPortService& port() { return serial_->port(); }
    const QString& serialSettings() const { return serial_->settingsText(); }
    ExchangeRunner& exchanges() { return *runner_; }
    std::int64_t txCount() const { return txCount_; }
    std::int64_t rxCount() const { return rxCount_; }

    // --- PageHost --------------------------------------------------------------
    mb::TxBuffer& txBuffer() override { return txBuffer_; }
    bool portConnected() const override { return serial_->portConnected(); }
    void showFailurePrompt() override;
    void showInputRefused(const QString& title, const QString& text) override {
        prompter_->information(this, title, text);
    }
    bool confirmWrite(const QString& meter, const QString& change) override {
        return prompter_->confirm(this, QStringLiteral("Confirm write"),
                                  QStringLiteral("%1: %2?").arg(meter, change));
    }
    void clearReplyPanes() override;
    void runExchange(mb::ExchangeRequest request) override;
    void runSequence(std::unique_ptr<mb::ExchangeSequence> sequence,
                     std::function<void(const mb::ExchangeResult&)> done,
                     std::function<void(const mb::ExchangeRequest&)> stepSent) override;
    std::optional<QString> askInput(const QString& title, const QString& label,
                                    const QString& initial) override {
        return prompter_->askText(this, title, label, initial);
    }
    void followBaudRate(long baud) override;
    void continuousReadingChanged(ProtocolPage& page, bool running) override;

    // The reply timeout: the remembered setting ("Reply timeout…" on Data
    // Analysis), or by default 1 s plus the time the protocol's longest answer
    // takes at the line's settings. setReplyTimeout overrides both for this
    // window only, without remembering it.
    void setReplyTimeout(std::optional<double> seconds) { timeoutOverride_ = seconds; }

    static QString failurePromptText(const QString& portText);
    static QString failurePromptTitle();

    // Shows `page` and hides the others.
    void showPage(ProtocolPage& page);
    void stopAllContinuousReadings();
    // The receive handler's work on the bytes one event brought: record,
    // count, echo into "Received Data", and on to the running exchange.
    void receiveBytes(const QByteArray& bytes);

    // --- injection points ---------------------------------------------------
    void setPrompter(std::unique_ptr<Prompter> prompter) { prompter_ = std::move(prompter); }
    Prompter& prompter() { return *prompter_; }
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { openUrl_ = std::move(opener); }
    void setExitAction(std::function<void()> action) { exit_ = std::move(action); }

  private:
    void buildButtons();
    void wireButtons();
    void wirePages();
    void wireSerialPanel();
    void onClick(const QString& layoutName, std::function<void()> handler);
    void openProductInformation();
    void showConnectFailure(const QString& portText, const QString& reason);
    // Runs `handler` as one event of kind `kind` (see EventGate).
    void asEvent(const void* kind, std::function<void()> handler);
    void wireExchanges();
    // Starts one request on the runner with the window's reply timeout.
    void startOnLine(mb::ExchangeRequest request);
    // A step of the running sequence ended: its next request, or its result.
    void sequenceStepDone(const mb::ExchangeResult& result);
    void buildWatchPane();
    // "cj188" or "mbus": the protocol whose history the page shows.
    static QString protocolName(const ProtocolPage& page);
    // The port's name in the session record ("COM1").
    QString recordPort() const;
    QString networkNote();
    static QString portName(const QString& portText);

    WindowFrames frames_;
    SerialPanel* serial_ = nullptr;
    std::vector<std::unique_ptr<ProtocolPage>> pages_;
    QMap<QString, Bevelo*> buttons_;
    mb::TxBuffer txBuffer_{};
    ExchangeRunner* runner_ = nullptr;
    std::int64_t txCount_ = 0;
    std::int64_t rxCount_ = 0;
    std::optional<double> timeoutOverride_;
    std::unique_ptr<mb::ExchangeSequence> sequence_;
    std::function<void(const mb::ExchangeResult&)> sequenceDone_;
    std::function<void(const mb::ExchangeRequest&)> sequenceStepSent_;
    SessionLog log_;
    std::unique_ptr<ResultView> results_;
    WatchPane* watch_ = nullptr;
    EventGate gate_;
    std::unique_ptr<Prompter> prompter_;
    std::function<bool(const QUrl&)> openUrl_;
    std::function<void()> exit_;
    ReplyTimeoutSetting* replyTimeoutSetting_ = nullptr;
};
