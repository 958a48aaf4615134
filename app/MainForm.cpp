#include "app/MainForm.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <span>

#include "app/ButtonLayoutResource.h"
#include "app/ReplyPaneMenus.h"
#include "app/WindowResize.h"
#include "pages/Cj188Page.h"
#include "pages/MbusPage.h"
#include "widgets/Bevelo.h"
#include "widgets/BeveloLayout.h"
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
    buildButtons();
    serial_->attachButtons(button(QStringLiteral("OpenCOomPort")), button(QStringLiteral("Bevelo5")),
                           button(QStringLiteral("Bevelo6")));
    wireButtons();
    wirePages();
    wireSerialPanel();
    new WindowResize(this);
    replyTimeout_ = new ReplyTimeoutSetting(this);
    extendReplyPaneMenus(frames_, *replyTimeout_);

    // Start-up, in order: topmost, port scan, serial configuration, parity
    // list, the first page shown, port closed.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    serial_->runStartUp();
    showPage(*pages_.front());
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
    connect(serial_, &SerialPanel::connected, this, [this] { stopAllContinuousReadings(); });
    connect(serial_, &SerialPanel::disconnected, this, [this] { stopAllContinuousReadings(); });
    connect(serial_, &SerialPanel::connectFailed, this, &MainForm::showConnectFailure);
    connect(serial_, &SerialPanel::portLost, this, [this](const QString& portText) {
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

void MainForm::showConnectFailure(const QString& portText, const QString&) {
    prompter_->critical(this, failurePromptTitle(), failurePromptText(portText));
}

void MainForm::clearReplyPanes() {
    frames_.receivedPane->clear();
    frames_.analysisPane->clear();
}

void MainForm::receiveBytes(const QByteArray& bytes) {
    std::string echo;
    echo.reserve(static_cast<std::size_t>(bytes.size()) * 3);
    const bool checkPass =
        core_.onReceived(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   static_cast<std::size_t>(bytes.size())),
                         echo);
    serial_->showRxCount(core_.rxCount());
    frames_.receivedPane->appendReceiveEventNow(echo);
    if (checkPass) frames_.analysisPane->setText(QString::fromUtf8(mb::kCheckPassText));
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
