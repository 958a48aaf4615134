#include "cj188/page/TransmitFrame.h"

#include <QByteArray>
#include <QString>

#include "app/MainForm.h"
#include "app/TextPane.h"
#include "cj188/TransmitFrame.h"

void TransmitFrame(MainForm& form, TextPane& pane, const std::string& framePaneText) {
    mb::ProtocolCore& core = form.core();

    // 1. The pane is reset to one blank, then every byte goes in as "XX ".
    pane.setText(QStringLiteral(" "));
    pane.appendUtf8(framePaneText);

    // 2. A closed port is reported, and the sequence goes on.
    if (!form.PortConnected()) form.showFailurePrompt();

    // 3. The reply to this request starts from empty panes.
    form.receivedPane().clear();
    form.analysisPane().clear();

    // 4. What is sent is the pane read back, not the buffer.
    const std::vector<std::uint8_t> bytes = mb::PaneTextToBytes(pane.text().toStdString());
    const QByteArray out(reinterpret_cast<const char*>(bytes.data()),
                         static_cast<qsizetype>(bytes.size()));

    // 5, 6. One write; only bytes the port took are counted.
    if (form.PortConnected() && form.writeToPort(out))
        core.countSent(static_cast<std::int64_t>(bytes.size()));
    form.showTxCount();
}
