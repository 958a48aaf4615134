// The serial settings frame: port scan, Connect and its failure path,
// Disconnect, and a port lost while connected.
#include <QLineEdit>
#include <QStringList>

#include "app/MainForm.h"
#include "serial/port/PortMap.h"
#include "widgets/Bevelo.h"

namespace {
constexpr int kHighestScannedPort = 20;
const QColor kLampOpen = layoutColor(0x00C000);
}  // namespace

void MainForm::runPortScan() {
    QComboBox* list = m_c.Combo1;
    list->clear();
    m_port.close();
    m_port.setPortMap(PortMap::fromEnvironment());
    QStringList refused;
    for (int n = 1; n <= kHighestScannedPort; ++n) {
        const OpenResult result = m_port.probe(n);
        const QString device = m_port.portMap().device(n);
        switch (result.outcome) {
            case OpenOutcome::Opened:
                list->addItem(QStringLiteral("COM%1").arg(n));
                break;
            case OpenOutcome::Busy:
                list->addItem(QStringLiteral("COM%1 Occupy").arg(n));
                break;
            case OpenOutcome::NotFound:
                continue;
            default:
                refused << QStringLiteral("COM%1 not listed: %2").arg(n).arg(result.reason);
                continue;
        }
        list->setItemData(list->count() - 1, device, Qt::ToolTipRole);
    }
    list->setToolTip(refused.join(QLatin1Char('\n')));
    list->setEditText(list->count() > 0 ? list->itemText(0) : QString());
    showStartOfPortText();
}

// "COM12 Occupy" is wider than the box: show its start, where the port is named,
// not the end the edit scrolls to after its text is set.
void MainForm::showStartOfPortText() {
    if (QLineEdit* edit = m_c.Combo1->lineEdit()) edit->home(false);
}

void MainForm::connectOrDisconnect() {
    if (m_port.isOpen())
        disconnectPort();
    else
        connectPort();
}

void MainForm::setCombosEnabled(bool enabled) {
    for (QComboBox* combo : {m_c.Combo1, m_c.Combo2, m_c.Combo3, m_c.Combo4, m_c.Combo5})
        combo->setEnabled(enabled);
}

// Caption "Connect", port closed, not connected, lamp black, combo boxes enabled.
void MainForm::enterClosedState() {
    setCaptionOf("OpenCOomPort", QStringLiteral("Connect"));
    m_port.close();
    m_portConnected = false;
    m_c.Shape1->setColor(Qt::black);
    setCombosEnabled(true);
}

void MainForm::connectPort() {
    const int portNumber = portNumberFromText(m_c.Combo1->currentText());
    m_settingsText = m_c.Combo2->currentText() + QLatin1Char(',') +
                     m_c.Combo3->currentText().left(1) + QLatin1Char(',') +
                     m_c.Combo4->currentText() + QLatin1Char(',') + m_c.Combo5->currentText();
    setCaptionOf("OpenCOomPort", QStringLiteral("Disconnect"));
    m_c.Shape1->setColor(kLampOpen);
    const OpenResult result = portNumber > 0 ? m_port.open(portNumber, m_settingsText)
                                             : OpenResult{OpenOutcome::NotFound, QString()};
    if (!result.ok()) {
        enterClosedState();
        showFailurePrompt();
        return;  // the continuous readings are left as they are
    }
    m_portConnected = true;
    setCombosEnabled(false);
    stopBothContinuousReadings();
}

void MainForm::disconnectPort() {
    runPortScan();
    enterClosedState();
    stopBothContinuousReadings();
}

// The device vanished while connected (unplugged adapter, pty peer gone): the
// service has already closed the port. Leave the window exactly as Disconnect
// does, then say once that the port cannot be used.
void MainForm::onConnectionLost(const QString&) {
    if (m_port.isOpen() || !m_portConnected)
        return;  // already closed by the user, or connected again
    const QString lostPort = m_c.Combo1->currentText();
    disconnectPort();
    m_prompter->critical(this, failurePromptTitle(), failurePromptText(lostPort));
}
