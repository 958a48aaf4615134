#include "app/MainForm.h"

#include <QCoreApplication>
#include <QDesktopServices>

#include "cj188/page/Cj188PageOperations.h"
#include "en1434/page/En1434PageOperations.h"
#include "widgets/Bevelo.h"

MainForm::MainForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral(" MeterBench"));
    setAccessibleName(QStringLiteral("MeterBench"));
    setAccessibleDescription(QStringLiteral("MainForm"));
    setFixedSize(912, 606);

    m_prompter = std::make_unique<MessageBoxPrompter>();
    m_openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    m_exit = [] { QCoreApplication::exit(0); };
    m_rxCaptionFrame.setSingleShot(true);
    m_rxCaptionFrame.setInterval(16);
    connect(&m_rxCaptionFrame, &QTimer::timeout, this, [this] {
        if (m_rxCaptionStale) showRxCount();
    });
    m_ops[0] = std::make_unique<Cj188PageOperations>(*this);
    m_ops[1] = std::make_unique<En1434PageOperations>(*this);

    buildWindowControls(this, m_c);
    buildButtons();
    wireButtons();
    wireInputFields();
    wireSerialLine();
    runStartUp();
}

MainForm::~MainForm() = default;

// Start-up, in order: topmost, port scan, serial configuration, parity list,
// CJ188 page shown, port closed.
void MainForm::runStartUp() {
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    runPortScan();
    m_settingsText = QString::fromLatin1(kDefaultSerialSettings);
    m_c.Combo3->addItems({QStringLiteral("NONE"), QStringLiteral("ODD"), QStringLiteral("EVEN"),
                          QStringLiteral("MARK"), QStringLiteral("SPACE")});
    m_c.Combo3->setCurrentIndex(2);  // the start text "EVEN"
    m_c.CJ188->setVisible(true);
    m_c.EN1434->setVisible(false);
    if (m_port.isOpen()) {
        setCaptionOf("OpenCOomPort", QStringLiteral("Connect"));
        m_port.close();
    }
}

void MainForm::asEvent(const void* kind, std::function<void()> handler) {
    m_gate.run(kind, std::move(handler));
}

void MainForm::wireButtons() {
    const auto onClick = [this](const char* name, std::function<void()> handler) {
        Bevelo* b = button(QString::fromLatin1(name));
        if (!b) return;  // not in the stored layout (named by buildButtons)
        connect(b, &Bevelo::Click, this, [this, b, handler] { asEvent(b, handler); });
    };
    onClick("OpenCOomPort", [this] { connectOrDisconnect(); });
    onClick("Bevelo5", [this] { resetTxCounter(); });
    onClick("Bevelo6", [this] { resetRxCounter(); });
    onClick("Bevelo2", [this] { showCj188Page(); });
    onClick("Bevelo4", [this] { showEn1434Page(); });
    onClick("Bevelo8", [this] { exitProgram(); });
    onClick("Bevelo9", [this] { openProductInformation(); });
    // Bevelo7 ("Help") has no handler: pressing it does nothing.
    onClick("Bevelo1", [this] { pageOperations(Page::Cj188).readData(); });
    onClick("Bevelo3", [this] { pageOperations(Page::Cj188).secondRequest(); });
    onClick("Bevelo11", [this] { pageOperations(Page::Cj188).startContinuousReading(); });
    onClick("Bevelo12", [this] { pageOperations(Page::Cj188).stopContinuousReading(); });
    onClick("Bevelo17", [this] { pageOperations(Page::En1434).readData(); });
    onClick("Bevelo15", [this] { pageOperations(Page::En1434).secondRequest(); });
    onClick("Bevelo13", [this] { pageOperations(Page::En1434).startContinuousReading(); });
    onClick("Bevelo14", [this] { pageOperations(Page::En1434).stopContinuousReading(); });

    connect(&m_timer1, &PageTimer::tick, this,
            [this] { asEvent(&m_timer1, [this] { pageOperations(Page::Cj188).tick(); }); });
    connect(&m_timer2, &PageTimer::tick, this,
            [this] { asEvent(&m_timer2, [this] { pageOperations(Page::En1434).tick(); }); });
}

void MainForm::wireSerialLine() {
    connect(m_c.Combo1, &QComboBox::textActivated, this, [this] { showStartOfPortText(); });
    connect(&m_port, &SerialPortService::bytesReceived, this,
            [this] { asEvent(&m_port, [this] { onCommEvent(); }); });
    connect(&m_port, &SerialPortService::connectionLost, this, [this](const QString& reason) {
        static const char lostPortEvent = 0;  // its own kind for the gate
        asEvent(&lostPortEvent, [this, reason] { onConnectionLost(reason); });
    });
}

void MainForm::setPageOperations(Page page, std::unique_ptr<PageOperations> operations) {
    if (operations) m_ops[static_cast<std::size_t>(page)] = std::move(operations);
}

void MainForm::stopBothContinuousReadings() {
    pageOperations(Page::Cj188).stopContinuousReading();
    pageOperations(Page::En1434).stopContinuousReading();
}

QString MainForm::failurePromptText(const QString& portText) {
    return QStringLiteral("Port") + portText + QStringLiteral("Cannot Open！");
}

QString MainForm::failurePromptTitle() {
    return QStringLiteral("Error Prompt (0x") + QString::number(8002) + ")";
}

void MainForm::showFailurePrompt() {
    m_prompter->critical(this, failurePromptTitle(), failurePromptText());
}

bool MainForm::writeToPort(const QByteArray& bytes) {
    return m_port.write(bytes);
}

void MainForm::showTxCount() {
    setCaptionOf("Bevelo5", QString::number(m_core.TxCount()));
}

void MainForm::showRxCount() {
    if (m_rxCaptionFrame.isActive()) {
        m_rxCaptionStale = true;
        return;
    }
    m_rxCaptionStale = false;
    setCaptionOf("Bevelo6", QString::number(m_core.RxCount()));
    m_rxCaptionFrame.start();
}

void MainForm::resetTxCounter() {
    setCaptionOf("Bevelo5", QStringLiteral("0"));
    m_core.resetTxCount();
}

void MainForm::resetRxCounter() {
    m_rxCaptionStale = false;
    setCaptionOf("Bevelo6", QStringLiteral("0"));
    m_core.resetRxCount();
}
