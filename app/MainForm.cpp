#include "app/MainForm.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QTimer>
#include <span>

#include "app/ButtonLayoutResource.h"
#include "app/ProductInformation.h"
#include "app/RecordStatus.h"
#include "app/ReplyPaneMenus.h"
#include "app/WatchPane.h"
#include "app/WindowResize.h"
#include "core/HexText.h"
#include "pages/Cj188Page.h"
#include "pages/MbusPage.h"
#include "widgets/Bevelo.h"
#include "widgets/BeveloLayout.h"
#include "widgets/LayoutControls.h"
#include "widgets/TextPane.h"

MainForm::MainForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral(" MeterBench"));
    setAccessibleName(QStringLiteral("MeterBench"));
    setAccessibleDescription(QStringLiteral("MainForm"));
    // The designed size is the smallest; the panes take any extra room (WindowResize).
    setMinimumSize(912, 606);
    resize(minimumSize());

    prompter_ = std::make_unique<MessageBoxPrompter>();
    openUrl_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    exit_ = [] { QCoreApplication::exit(0); };

    buildWindowBackground(this);
    buildLogoFrame(this);
    serial_ = new SerialPanel(this);
    buildButtonFrames(this);
    frames_.mainPanel = buildMainPanel(this);
    pages_.push_back(std::make_unique<Cj188Page>(*this, frames_.mainPanel));
    pages_.push_back(std::make_unique<MbusPage>(*this, frames_.mainPanel));
    buildReplyPanes(frames_.mainPanel, frames_);
    RecordStatus::attach(frames_.mainPanel, log_);
    buildButtons();
    serial_->attachButtons(button(QStringLiteral("OpenCOomPort")), button(QStringLiteral("Bevelo5")),
                           button(QStringLiteral("Bevelo6")));
    runner_ = new ExchangeRunner(serial_->port(), this);
    results_ = std::make_unique<ResultView>(*frames_.analysisPane, log_);
    buildWatchPane();
    wireButtons();
    wirePages();
    wireSerialPanel();
    wireExchanges();
    auto* resize = new WindowResize(this);
    resize->setSidePane(watch_, WatchPane::kMinWidth);
    connect(watch_, &WatchPane::shownChanged, this, [this, resize] { resize->apply(size()); });
    replyTimeoutSetting_ = new ReplyTimeoutSetting(this);
    extendReplyPaneMenus(frames_, *replyTimeoutSetting_);

    // Start-up, in order: topmost, port scan, serial configuration, parity
    // list, the first page shown, port closed.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    serial_->runStartUp();
    showPage(*pages_.front());
    layout::fitLabels(this);
}

MainForm::~MainForm() = default;

// The buttons come from the stored layout compiled in (app/layout/buttons.json),
// each in its container at its layout position with its caption, style and font.
void MainForm::buildButtons() {
    initButtonLayoutResource();
    QString error;
    const QList<BeveloLayoutEntry> entries =
        bevelo::loadButtonLayout(bevelo::kButtonLayoutResource, &error);
    if (!error.isEmpty())
        qWarning("MeterBench: the stored button layout cannot be read: %s", qPrintable(error));
    QStringList missing;
    const auto containerFor = [this](const QString& name) -> QWidget* {
        return name == objectName() ? this : findChild<QWidget*>(name);
    };
    const QList<Bevelo*> created = bevelo::createButtons(entries, containerFor, nullptr, &missing);
    if (!missing.isEmpty())
        qWarning("MeterBench: buttons without their container: %s",
                 qPrintable(missing.join(QLatin1String(", "))));
    for (Bevelo* b : created) {
        b->setAccessibleDescription(b->objectName());
        buttons_.insert(b->objectName(), b);
    }
}

Bevelo* MainForm::button(const QString& layoutName) const {
    return buttons_.value(layoutName);
}

void MainForm::asEvent(const void* kind, std::function<void()> handler) {
    gate_.run(kind, std::move(handler));
}

void MainForm::onClick(const QString& layoutName, std::function<void()> handler) {
    Bevelo* b = button(layoutName);
    if (!b) return;  // not in the stored layout
    connect(b, &Bevelo::Click, this, [this, b, handler] { asEvent(b, handler); });
}

void MainForm::wireButtons() {
    onClick(QStringLiteral("OpenCOomPort"), [this] { serial_->connectOrDisconnect(); });
    onClick(QStringLiteral("Bevelo5"), [this] {
        serial_->showCountReset(button(QStringLiteral("Bevelo5")));
        txCount_ = 0;
    });
    onClick(QStringLiteral("Bevelo6"), [this] {
        serial_->showCountReset(button(QStringLiteral("Bevelo6")));
        rxCount_ = 0;
    });
    onClick(QStringLiteral("Bevelo8"), [this] { exit_(); });
    onClick(QStringLiteral("Bevelo9"), [this] { openProductInformation(); });
    // Bevelo7 ("Help") has no handler: pressing it does nothing.
}

void MainForm::wirePages() {
    for (const auto& owned : pages_) {
        ProtocolPage* page = owned.get();
        // Showing a page stops the continuous reading of the pages before it.
        onClick(page->showButtonName(), [this, page] {
            showPage(*page);
            for (const auto& other : pages_) {
                if (other.get() == page) break;
                other->stopContinuousReading();
            }
        });
        for (const ProtocolPage::ButtonAction& action : page->buttonActions())
            onClick(action.buttonName, action.handler);
        PageTimer* timer = &page->timer();
        connect(timer, &PageTimer::tick, this,
                [this, timer, page] { asEvent(timer, [page] { page->tick(); }); });
    }
}

void MainForm::wireSerialPanel() {
    SerialPortService* port = &serial_->port();
    connect(port, &SerialPortService::bytesReceived, this,
            [this, port] { asEvent(port, [this, port] { receiveBytes(port->readAll()); }); });
    connect(port, &SerialPortService::connectionLost, this, [this](const QString& reason) {
        static const char lostPortEvent = 0;  // its own kind for the gate
        asEvent(&lostPortEvent, [this, reason] { serial_->onConnectionLost(reason); });
    });
    connect(serial_, &SerialPanel::connected, this, [this] {
        log_.event(recordPort(), QStringLiteral("connected ") + serial_->settingsText() + networkNote());
        stopAllContinuousReadings();
    });
    connect(serial_, &SerialPanel::disconnected, this, [this](const QString& portText) {
        log_.event(portName(portText), QStringLiteral("disconnected"));
        stopAllContinuousReadings();
    });
    connect(serial_, &SerialPanel::connectFailed, this, &MainForm::showConnectFailure);
    connect(serial_, &SerialPanel::portLost, this,
            [this](const QString& portText, const QString& reason) {
                log_.event(portName(portText), QStringLiteral("port lost: ") + reason);
                prompter_->critical(this, failurePromptTitle(), failurePromptText(portText), reason);
            });
}

void MainForm::showPage(ProtocolPage& shown) {
    for (const auto& page : pages_) page->panel()->setVisible(page.get() == &shown);
    watch_->showProtocol(protocolName(shown));
}

QString MainForm::protocolName(const ProtocolPage& page) {
    return dynamic_cast<const Cj188Page*>(&page) ? QStringLiteral("cj188") : QStringLiteral("mbus");
}

void MainForm::buildWatchPane() {
    watch_ = new WatchPane(this, frames_.analysisPane->parentWidget());
    results_->setFinishedHandler([this](const mb::ExchangeResult& result, std::chrono::system_clock::time_point t) {
        watch_->add(result, t);
    });
    connect(watch_, &WatchPane::notice, this,
            [this](const QString& title, const QString& text) { prompter_->information(this, title, text); });
}

ProtocolPage* MainForm::shownPage() const {
    for (const auto& page : pages_)
        if (!page->panel()->isHidden()) return page.get();
    return nullptr;
}

void MainForm::stopAllContinuousReadings() {
    for (const auto& page : pages_) page->stopContinuousReading();
}

QString MainForm::failurePromptText(const QString& portText) {
    return QStringLiteral("Port") + portText + QStringLiteral("Cannot Open！");
}

QString MainForm::failurePromptTitle() {
    return QStringLiteral("Error Prompt (0x") + QString::number(8002) + ")";
}

void MainForm::showFailurePrompt() {
    prompter_->critical(this, failurePromptTitle(), failurePromptText(serial_->portText()));
}

void MainForm::showConnectFailure(const QString& portText, const QString& reason) {
    log_.event(recordPort(), QStringLiteral("connect failed: ") + reason);
    prompter_->critical(this, failurePromptTitle(), failurePromptText(portText), reason);
}

// On a gateway the record says where the line went and its measured round trip.
QString MainForm::networkNote() {
    SerialPortService& line = serial_->port();
    if (!line.overNetwork()) return QString();
    return QStringLiteral(" over %1, round trip %2 ms")
        .arg(line.portMap().device(line.openPortNumber()))
        .arg(static_cast<double>(line.networkRoundTrip().count()) / 1000.0, 0, 'f', 2);
}

QString MainForm::recordPort() const { return portName(serial_->portText()); }

// "COM1" of the port list's "COM1 Occupy".
QString MainForm::portName(const QString& portText) {
    return portText.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
}

void MainForm::wireExchanges() {
    connect(runner_, &ExchangeRunner::written, this, [this](const QByteArray& bytes) {
        log_.sent(recordPort(), bytes);
        txCount_ += bytes.size();
        serial_->showTxCount(txCount_);  // a sequence's later steps are counted as they go
        results_->requestSent();
    });
    connect(runner_, &ExchangeRunner::finished, this, [this](const mb::ExchangeResult& result) {
        if (sequence_ && !result.late && !result.superseded)
            sequenceStepDone(result);
        else
            results_->show(result, recordPort());
    });
}

void MainForm::sequenceStepDone(const mb::ExchangeResult& result) {
    results_->recordStep(result, recordPort());
    if (std::optional<mb::ExchangeRequest> next = sequence_->next(result)) {
        // After the runner has finished with this result.
        QTimer::singleShot(0, this, [this, request = std::move(*next)] {
            if (!sequence_ || !portConnected()) return;
            if (sequenceStepSent_) sequenceStepSent_(request);
            startOnLine(request);
        });
        return;
    }
    const std::unique_ptr<mb::ExchangeSequence> finished = std::move(sequence_);
    const auto done = std::move(sequenceDone_);
    const mb::ExchangeResult whole = finished->result();
    results_->show(whole, recordPort());
    if (done) done(whole);
}

void MainForm::runSequence(std::unique_ptr<mb::ExchangeSequence> sequence,
                           std::function<void(const mb::ExchangeResult&)> done,
                           std::function<void(const mb::ExchangeRequest&)> stepSent) {
    if (!portConnected()) return;
    mb::ExchangeRequest first = sequence->first();
    sequence_ = std::move(sequence);
    sequenceDone_ = std::move(done);
    sequenceStepSent_ = std::move(stepSent);
    startOnLine(std::move(first));
    serial_->showTxCount(txCount_);
}

void MainForm::followBaudRate(long baud) {
    const QString was = serial_->settingsText();
    if (!serial_->followBaudRate(baud)) {
        prompter_->information(
            this, QStringLiteral("Baud rate"),
            QStringLiteral("The meter now answers at %1 baud, but the line could not "
                           "change to it: set it and connect again.")
                .arg(baud));
        return;
    }
    log_.event(
        recordPort(),
        QStringLiteral("line follows the meter: %1 -> %2").arg(was, serial_->settingsText()));
    prompter_->information(
        this, QStringLiteral("Baud rate"),
        QStringLiteral("The meter now answers at %1 baud; the line changed from %2 to %3.")
            .arg(baud)
            .arg(was, serial_->settingsText()));
}

void MainForm::runExchange(mb::ExchangeRequest request) {
    sequence_.reset();  // a request of its own ends a running operation
    sequenceDone_ = {};
    sequenceStepSent_ = {};
    startOnLine(std::move(request));
    serial_->showTxCount(txCount_);
}

void MainForm::startOnLine(mb::ExchangeRequest request) {
    ExchangeRunner::Options options;
    const std::optional<double> chosen =
        timeoutOverride_ ? timeoutOverride_ : replyTimeoutSetting_->seconds();
    if (chosen)
        options.timeout = std::chrono::milliseconds(static_cast<long long>(*chosen * 1000.0 + 0.5));
    // Only bytes the line took are counted.
    if (portConnected()) runner_->start(std::move(request), options);
}

void MainForm::continuousReadingChanged(ProtocolPage&, bool running) {
    results_->continuousReadingChanged(running);
}

void MainForm::clearReplyPanes() {
    frames_.receivedPane->clear();
    results_->clearPane();
}

void MainForm::receiveBytes(const QByteArray& bytes) {
    log_.received(recordPort(), bytes);
    rxCount_ += bytes.size();
    serial_->showRxCount(rxCount_);
    frames_.receivedPane->appendReceiveEventNow(mb::hexEcho(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                  static_cast<std::size_t>(bytes.size()))));
    runner_->receive(bytes);
}

void MainForm::openProductInformation() {
    const QUrl url = productInformationUrl();
    if (url.isEmpty()) {
        prompter_->information(
            this, QStringLiteral("Product information"),
            QStringLiteral("The MeterBench manual (README.md) was not found next to the program."));
        return;
    }
    if (!openUrl_(url))
        prompter_->information(
            this, QStringLiteral("Product information"),
            QStringLiteral("No browser or viewer could be started. The manual is at\n%1")
                .arg(url.toLocalFile()));
}
