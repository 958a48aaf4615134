#include "app/RecordStatus.h"

#include <QFontMetrics>

#include "app/SessionLog.h"

namespace {

// Main-panel pixels: right of the EN1434 page button (ends at 313), above the
// pages (from 40), inside the panel's frame (713 wide).
const QRect kPlace(320, 18, 385, 20);

}  // namespace

RecordStatus::RecordStatus(QWidget* mainPanel) : QLabel(mainPanel) {
    setObjectName(QStringLiteral("RecordStatus"));
    setAccessibleDescription(QStringLiteral("RecordStatus"));
    setGeometry(kPlace);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
    hide();
}

RecordStatus* RecordStatus::attach(QWidget* mainPanel, SessionLog& log) {
    auto* status = new RecordStatus(mainPanel);
    log.setNoticeHandler(status, [status](bool writing, const QString& text) { status->showNotice(writing, text); });
    return status;
}

void RecordStatus::showNotice(bool writing, const QString& text) {
    const QString line = QStringLiteral("Session record: ") + text;
    setAccessibleName(line);
    setToolTip(line);
    // Long reasons (a path) are cut to the line; the tooltip keeps all of it.
    setText(fontMetrics().elidedText(line, Qt::ElideMiddle, width()));
    setStyleSheet(writing ? QStringLiteral("color: #004000;") : QStringLiteral("color: #B00000; font-weight: bold;"));
    show();
    raise();
}
