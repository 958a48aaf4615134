#include "app/SerialPanel.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QStringList>

#include "port/PortMap.h"
#include "widgets/Bevelo.h"
#include "widgets/Fonts.h"
#include "widgets/LayoutControls.h"
#include "widgets/PopupComboBox.h"

namespace {
const QColor kLampOpen = layoutColor(0x00C000);
}  // namespace

SerialPanel::SerialPanel(QWidget* window) : QObject(window) {
    using namespace layout;
    QGroupBox* s = frame_ = makeFrame(window, QStringLiteral("setpage"),
                                      QStringLiteral("串口配置"), {120, 2040, 2655, 4575});
    const QFont lf = fonts::settingsLabel();
    const QFont cf = fonts::settingsCombo();
    makeLabel(s, QStringLiteral("Label"), QStringLiteral("Port"), {240, 360, 975, 255}, lf);
    auto* portList = new PopupComboBox(s);
    setUpCombo(portList, QStringLiteral("Combo1"), QStringLiteral("Port"), {1080, 240, 1335, 345},
               cf, {}, {});
    portList_ = portList;
    portList_->view()->setTextElideMode(Qt::ElideNone);
    makeLabel(s, QStringLiteral("Label18"), QStringLiteral("Baud"), {240, 840, 975, 255}, lf);
    baudBox_ = makeCombo(
        s, QStringLiteral("Combo2"), QStringLiteral("Baud"), {1080, 720, 1335, 345}, cf,
        {"300", "600", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"},
        QStringLiteral("2400"));
    makeLabel(s, QStringLiteral("Label19"), QStringLiteral("Parity"), {240, 1320, 855, 255}, lf);
    // The parity list is filled by the start-up sequence.
    parityBox_ = makeCombo(s, QStringLiteral("Combo3"), QStringLiteral("Parity"),
                           {1080, 1200, 1335, 345}, cf, {}, QStringLiteral("EVEN"));
    makeLabel(s, QStringLiteral("Label21"), QStringLiteral("Data"), {240, 1800, 735, 255}, lf);
    dataBitsBox_ = makeCombo(s, QStringLiteral("Combo4"), QStringLiteral("Data"),
                             {1080, 1680, 1335, 345}, cf, {"6", "7", "8"}, QStringLiteral("8"));
    makeLabel(s, QStringLiteral("Label20"), QStringLiteral("Stop"), {240, 2280, 975, 255}, lf);
    stopBitsBox_ = makeCombo(s, QStringLiteral("Combo5"), QStringLiteral("Stop"),
                             {1080, 2160, 1335, 345}, cf, {"1", "1.5", "2"}, QStringLiteral("1"));
    for (QComboBox* combo : {portList_, baudBox_, parityBox_, dataBitsBox_, stopBitsBox_})
        paintGreyBoxes(combo);
    makeLabel(s, QStringLiteral("Label22"), QStringLiteral("State"), {240, 2745, 375, 240}, lf);
    stateLamp_ = makeIndicator(s, QStringLiteral("Shape1"), QStringLiteral("State"),
                               {720, 2740, 195, 195}, Qt::black);
    makeLabel(s, QStringLiteral("Label23"), QStringLiteral("TX"), {240, 3600, 495, 255}, lf);
    makeIndicator(s, QStringLiteral("Shape2"), QStringLiteral("TX"), {720, 3600, 195, 195},
                  layoutColor(0x004000));
    makeLabel(s, QStringLiteral("Label24"), QStringLiteral("RX"), {240, 4080, 495, 255}, lf);
    makeIndicator(s, QStringLiteral("Shape3"), QStringLiteral("RX"), {720, 4080, 195, 195},
                  layoutColor(0x000080));

    rxCaptionFrame_.setSingleShot(true);
    rxCaptionFrame_.setInterval(16);
    connect(&rxCaptionFrame_, &QTimer::timeout, this, [this] {
        if (rxCaptionStale_) showRxCount(rxCountPending_);
    });
    connect(portList_, &QComboBox::textActivated, this, [this] { showStartOfPortText(); });
    connect(portList, &PopupComboBox::aboutToShowPopup, this, [this] { rescanKeepingChoice(); });
}

void SerialPanel::attachButtons(Bevelo* connectButton, Bevelo* txCounter, Bevelo* rxCounter) {
    connectButton_ = connectButton;
    txCounter_ = txCounter;
    rxCounter_ = rxCounter;
}

QString SerialPanel::portText() const {
    return portList_->currentText();
}

void SerialPanel::setCaption(Bevelo* button, const QString& caption) {
    if (button) button->SetCaption(caption);
}

void SerialPanel::runStartUp() {
    runPortScan();
    settingsText_ = QString::fromLatin1(kDefaultSerialSettings);
    parityBox_->addItems({QStringLiteral("NONE"), QStringLiteral("ODD"), QStringLiteral("EVEN"),
                          QStringLiteral("MARK"), QStringLiteral("SPACE")});
    parityBox_->setCurrentIndex(2);  // the start text "EVEN"
    if (port_.isOpen()) {
        setCaption(connectButton_, QStringLiteral("Connect"));
        port_.close();
    }
}

void SerialPanel::runPortScan() {
    portList_->clear();
    port_.close();
    PortMap map = PortMap::fromEnvironment();
    reportMapProblems(map.problems());
    QStringList notes = map.problems();
    port_.setPortMap(std::move(map));
    missingPorts_.clear();
    for (int n : port_.portMap().numbers()) {
        const OpenResult result = port_.probe(n);
        switch (result.outcome) {
            case OpenOutcome::Opened:
                portList_->addItem(QStringLiteral("COM%1").arg(n));
                break;
            case OpenOutcome::Busy:
                portList_->addItem(QStringLiteral("COM%1 Occupy").arg(n));
                break;
            case OpenOutcome::NotFound:
                missingPorts_ << QStringLiteral("COM%1 (%2)").arg(n).arg(port_.portMap().device(n));
                continue;
            default:
                notes << QStringLiteral("COM%1 not listed: %2").arg(n).arg(result.reason);
                continue;
        }
        portList_->setItemData(portList_->count() - 1, port_.portMap().device(n),
                               Qt::ToolTipRole);
    }
    portList_->setToolTip(notes.join(QLatin1Char('\n')));
    widenListToEntries();
    portList_->setEditText(portList_->count() > 0 ? portList_->itemText(0) : QString());
    showStartOfPortText();
}

// A device plugged in after start-up can be chosen as soon as the list opens.
// While connected the list stays as it is (its box is disabled then anyway).
void SerialPanel::rescanKeepingChoice() {
    if (port_.isOpen()) return;
    const QString chosen = portText();
    runPortScan();
    const int index = portList_->findText(chosen);
    if (index >= 0) {
        portList_->setCurrentIndex(index);
        showStartOfPortText();
    }
}

// Said once on standard error for each new text of METERBENCH_PORTS, not at
// every opening of the list; the list's tooltip keeps showing it.
void SerialPanel::reportMapProblems(const QStringList& problems) {
    if (problems == reportedMapProblems_) return;
    reportedMapProblems_ = problems;
    for (const QString& problem : problems) qWarning("MeterBench: %s", qPrintable(problem));
}

// The open list shows every entry in full: "COM1 Occupy" and "COM12 Occupy"
// must not both read "COM1...cupy".
void SerialPanel::widenListToEntries() {
    QAbstractItemView* view = portList_->view();
    int width = view->sizeHintForColumn(0) + 2 * view->frameWidth();
    if (portList_->count() > portList_->maxVisibleItems())
        width += view->verticalScrollBar()->sizeHint().width();
    view->setMinimumWidth(width);
}

// "COM12 Occupy" is wider than the box: show its start, where the port is named,
// not the end the edit scrolls to after its text is set.
void SerialPanel::showStartOfPortText() {
    if (QLineEdit* edit = portList_->lineEdit()) edit->home(false);
}

void SerialPanel::connectOrDisconnect() {
    if (port_.isOpen())
        disconnectPort();
    else
        connectPort();
}

void SerialPanel::setCombosEnabled(bool enabled) {
    for (QComboBox* combo : {portList_, baudBox_, parityBox_, dataBitsBox_, stopBitsBox_})
        combo->setEnabled(enabled);
}

// Caption "Connect", port closed, not connected, lamp black, combo boxes enabled.
void SerialPanel::enterClosedState() {
    setCaption(connectButton_, QStringLiteral("Connect"));
    port_.close();
    portConnected_ = false;
    stateLamp_->setColor(Qt::black);
    setCombosEnabled(true);
}

void SerialPanel::connectPort() {
    const int portNumber = portNumberFromText(portText());
    settingsText_ = baudBox_->currentText() + QLatin1Char(',') +
                    parityBox_->currentText().left(1) + QLatin1Char(',') +
                    dataBitsBox_->currentText() + QLatin1Char(',') + stopBitsBox_->currentText();
    setCaption(connectButton_, QStringLiteral("Disconnect"));
    stateLamp_->setColor(kLampOpen);
    const OpenResult result =
        portNumber > 0 ? port_.open(portNumber, settingsText_)
                       : OpenResult{OpenOutcome::NotFound, noPortReason()};
    if (!result.ok()) {
        enterClosedState();
        emit connectFailed(portText(), result.reason);
        return;  // the continuous readings are left as they are
    }
    portConnected_ = true;
    setCombosEnabled(false);
    emit connected();
}

bool SerialPanel::followBaudRate(long baud) {
    if (!portConnected_ || !port_.setBaudRate(static_cast<qint32>(baud))) return false;
    baudBox_->setCurrentText(QString::number(baud));
    settingsText_ =
        QString::number(baud) + settingsText_.mid(settingsText_.indexOf(QLatin1Char(',')));
    return true;
}

QString SerialPanel::noPortReason() const {
    if (!portText().trimmed().isEmpty())
        return QStringLiteral("\"%1\" does not name a port COMn.").arg(portText());
    if (!missingPorts_.isEmpty())
        return QStringLiteral("The device of %1 is missing (unplugged?).")
            .arg(missingPorts_.join(QStringLiteral(", ")));
    return QStringLiteral("No serial port was found.");
}

void SerialPanel::disconnectPort() {
    const QString was = portText();
    runPortScan();
    enterClosedState();
    emit disconnected(was);
}

// The service has already closed the port when this comes.
void SerialPanel::onConnectionLost(const QString& reason) {
    if (port_.isOpen() || !portConnected_) return;  // closed by the user, or connected again
    const QString lostPort = portText();
    disconnectPort();
    emit portLost(lostPort, reason);
}

void SerialPanel::showTxCount(std::int64_t count) {
    setCaption(txCounter_, QString::number(count));
}

void SerialPanel::showRxCount(std::int64_t count) {
    rxCountPending_ = count;
    if (rxCaptionFrame_.isActive()) {
        rxCaptionStale_ = true;
        return;
    }
    rxCaptionStale_ = false;
    setCaption(rxCounter_, QString::number(count));
    rxCaptionFrame_.start();
}

void SerialPanel::showCountReset(Bevelo* counter) {
    if (counter == rxCounter_) rxCaptionStale_ = false;
    setCaption(counter, QStringLiteral("0"));
}
