#include "app/MainForm.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QScrollBar>
#include <span>

#include "app/ButtonLayoutResource.h"
#include "app/RecordStatus.h"
#include "app/ReplyPaneMenus.h"
#include "app/WindowResize.h"
#include "port/DeviceKind.h"
#include "core/ReadingJson.h"
#include "core/ReadingText.h"
#include "core/ReplyVerdict.h"
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
    wireButtons();
    wirePages();
    wireSerialPanel();
    replyTimer_.setSingleShot(true);
    replyTimer_.setTimerType(Qt::PreciseTimer);
    connect(&replyTimer_, &QTimer::timeout, this, [this] {
        asEvent(&replyTimer_, [this] { onReplyTimeout(); });
    });
    new WindowResize(this);
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
        core_.resetTxCount();
    });
    onClick(QStringLiteral("Bevelo6"), [this] {
        serial_->showCountReset(button(QStringLiteral("Bevelo6")));
        core_.resetRxCount();
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
    connect(port, &SerialPortService::connectionLost, this, [this] {
        static const char lostPortEvent = 0;  // its own kind for the gate
        asEvent(&lostPortEvent, [this] { serial_->onConnectionLost(); });
    });
    connect(serial_, &SerialPanel::connected, this, [this] {
        log_.event(recordPort(), QStringLiteral("connected ") + serial_->settingsText());
        stopAllContinuousReadings();
    });
    connect(serial_, &SerialPanel::disconnected, this, [this] {
        log_.event(recordPort(), QStringLiteral("disconnected"));
        stopAllContinuousReadings();
    });
    connect(serial_, &SerialPanel::connectFailed, this, &MainForm::showConnectFailure);
    connect(serial_, &SerialPanel::portLost, this, [this](const QString& portText) {
        log_.event(recordPort(), QStringLiteral("port lost"));
        prompter_->critical(this, failurePromptTitle(), failurePromptText(portText));
    });
}

void MainForm::showPage(ProtocolPage& shown) {
    for (const auto& page : pages_) page->panel()->setVisible(page.get() == &shown);
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

bool MainForm::writeToPort(const QByteArray& bytes) {
    const bool written = serial_->port().write(bytes);
    if (written) log_.sent(recordPort(), bytes);
    lastWriteBytes_ = written ? static_cast<std::size_t>(bytes.size()) : 0;
    return written;
}

QString MainForm::recordPort() const {
    return serial_->portText().section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
}

namespace {

// The line's settings as the reply timing needs them, from "2400,E,8,1".
struct LineSettings {
    explicit LineSettings(const QString& text) {
        const QStringList parts = text.split(QLatin1Char(','));
        baud = parts.value(0).toInt();
        parity = !parts.value(1).startsWith(QLatin1Char('N'));
        dataBits = parts.value(2, QStringLiteral("8")).toInt();
        stopBits = parts.value(3, QStringLiteral("1")).toDouble();
    }
    int baud = 0;
    bool parity = true;
    int dataBits = 8;
    double stopBits = 1;
};

}  // namespace

std::chrono::milliseconds MainForm::replyTimeout(const ProtocolPage& page) const {
    const std::optional<double> chosen =
        timeoutOverride_ ? timeoutOverride_ : replyTimeoutSetting_->seconds();
    if (chosen) return std::chrono::milliseconds(static_cast<long long>(*chosen * 1000.0 + 0.5));
    const LineSettings line(serial_->settingsText());
    return mb::defaultReplyTimeout(line.baud, line.dataBits, line.parity, line.stopBits,
                                   page.longestReplyBytes());
}

// write() returns once the bytes are queued; on a real line the last one leaves
// only after the whole request has been clocked out. A pty carries them at once.
mb::ReplyWatch::Clock::time_point MainForm::lastByteLeaves() const {
    const auto now = mb::ReplyWatch::Clock::now();
    const SerialPortService& port = serial_->port();
    if (isPseudoTerminal(port.portMap().device(port.openPortNumber()))) return now;
    const LineSettings line(serial_->settingsText());
    return now + mb::lineTime(line.baud, line.dataBits, line.parity, line.stopBits,
                              lastWriteBytes_);
}

void MainForm::requestSent(ProtocolPage& page, bool replyJudged, bool written) {
    replyTimer_.stop();
    if (!replyJudged || !written) {
        watch_.cancel();
        watchedPage_ = nullptr;
        return;
    }
    watchedPage_ = &page;
    wrongChecksumsBefore_ = core_.collector().wrongChecksums;
    wrongHeadersBefore_ = core_.collector().wrongHeaders;
    const std::chrono::milliseconds timeout = replyTimeout(page);
    watch_.start(lastByteLeaves(), timeout);
    replyTimer_.start(timeout);
}

void MainForm::continuousReadingChanged(ProtocolPage&, bool running) {
    if (running)
        watch_.startStatistics();
    else
        watch_.stopStatistics();
}

void MainForm::showAnalysis(QStringList lines) {
    if (const std::optional<std::string> statistics = watch_.statisticsLine())
        lines << QString::fromStdString(*statistics);
    frames_.analysisPane->setText(lines.join(QLatin1Char('\n')));
    // The verdict is read from the top; the pane would follow its end.
    frames_.analysisPane->verticalScrollBar()->setValue(0);
}

QString MainForm::whyNoValidReply() const {
    const mb::FrameCollector& c = core_.collector();
    if (c.wrongChecksums > wrongChecksumsBefore_) return QStringLiteral("checksum wrong");
    if (c.wrongHeaders > wrongHeadersBefore_) return QStringLiteral("no valid frame header");
    if (c.frameIndex > 0) return QStringLiteral("frame incomplete");
    return QStringLiteral("no frame start");
}

void MainForm::onReplyTimeout() {
    const std::string line = watch_.timeoutLine(whyNoValidReply().toStdString());
    if (line.empty()) return;
    showAnalysis({QString::fromStdString(line)});
    log_.event(recordPort(), QString::fromStdString(line));
}

// "Check Pass！" stays the first line; the reply time and what the meter said follow.
void MainForm::showPass() {
    replyTimer_.stop();
    QStringList lines{QString::fromUtf8(mb::kCheckPassText)};
    const std::string replyTime = watch_.passed(mb::ReplyWatch::Clock::now());
    if (!replyTime.empty()) lines << QString::fromStdString(replyTime);
    log_.event(recordPort(), replyTime.empty() ? QStringLiteral("pass")
                                               : QStringLiteral("pass, ") +
                                                     QString::fromStdString(replyTime));
    ProtocolPage* page = watchedPage_ ? watchedPage_ : shownPage();
    std::vector<std::uint8_t> frame = core_.lastFrame();
    // The parser judges up to the checksum; a stop byte still on its way is the
    // one the frame must end with.
    if (!frame.empty() && frame.back() != 0x16) frame.push_back(0x16);
    if (page) {
        const mb::Reading reading = page->decodeReply(frame);
        if (reading.checkPassed) {
            for (const std::string& line : mb::readingLines(reading))
                lines << QString::fromStdString(line);
            log_.event(recordPort(), QStringLiteral("reading ") +
                                         QString::fromStdString(mb::readingJson(reading)));
        }
    }
    showAnalysis(lines);
}

void MainForm::clearReplyPanes() {
    frames_.receivedPane->clear();
    frames_.analysisPane->clear();
}

void MainForm::receiveBytes(const QByteArray& bytes) {
    log_.received(recordPort(), bytes);
    watch_.bytesArrived(static_cast<std::size_t>(bytes.size()));
    std::string echo;
    echo.reserve(static_cast<std::size_t>(bytes.size()) * 3);
    const bool checkPass =
        core_.onReceived(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   static_cast<std::size_t>(bytes.size())),
                         echo);
    serial_->showRxCount(core_.rxCount());
    frames_.receivedPane->appendReceiveEventNow(echo);
    if (checkPass) showPass();
}

// The product page is the manual that comes with the program: README.md next
// to the executable or in the source tree above build/bin.
QUrl MainForm::productInformationUrl() const {
    const QDir bin(QCoreApplication::applicationDirPath());
    for (const QString& relative :
         {QStringLiteral("README.md"), QStringLiteral("../README.md"),
          QStringLiteral("../../README.md"), QStringLiteral("../share/doc/meterbench/README.md")}) {
        const QFileInfo candidate(bin.filePath(relative));
        if (candidate.isFile()) return QUrl::fromLocalFile(candidate.canonicalFilePath());
    }
    return {};
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
