#include "widgets/ReceivedPane.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <string>

ReceivedPane::ReceivedPane(QWidget* parent) : TextPane(parent) {
    setBound(kLimitBytes, kKeepBytes);
    openUrl_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    contextMenu()->addSeparator();
    timeStampsAction_ = addMenuAction(tr("Time stamps"), "timeStampsAction", {});
    timeStampsAction_->setCheckable(true);
    QAction* open = addMenuAction(tr("Open session records folder"), "openRecordsFolderAction", {});
    connect(open, &QAction::triggered, this, [this] {
        const QString problem = openRecordsFolder();
        if (!problem.isEmpty()) QMessageBox::warning(this, tr("Session records"), problem);
    });
}

bool ReceivedPane::timeStamps() const {
    return timeStampsAction_->isChecked();
}

void ReceivedPane::setTimeStamps(bool on) {
    timeStampsAction_->setChecked(on);
}

void ReceivedPane::appendReceiveEvent(std::string_view echo, QTime arrival) {
    const bool stamped = timeStamps();
    // A stamped event starts its own line, and so does the first plain one after it.
    const bool newLine = length() > 0 && (stamped || lastEventStamped_);
    lastEventStamped_ = stamped;
    if (!stamped && !newLine) return appendUtf8(echo);
    std::string line;
    line.reserve(echo.size() + 17);
    if (newLine) line += '\n';
    if (stamped) {
        line += '[';
        line += arrival.toString(QStringLiteral("HH:mm:ss.zzz")).toStdString();
        line += "] ";
    }
    line += echo;
    appendUtf8(line);
}

void ReceivedPane::appendReceiveEventNow(std::string_view echo) {
    appendReceiveEvent(echo, timeStamps() ? QTime::currentTime() : QTime());
}

QString ReceivedPane::trimNotice(qint64 trimmedBytes) const {
    return tr("[%1 bytes trimmed from the start; the session record keeps every byte]")
        .arg(QLocale(QLocale::English).toString(trimmedBytes));
}

QString ReceivedPane::openRecordsFolder() {
    QString why;
    const QString folder = recordsFolder_ ? recordsFolder_(why) : QString();
    if (folder.isEmpty()) {
        return why.isEmpty() ? tr("There is no folder for session records.")
                             : tr("There is no folder for session records: %1").arg(why);
    }
    if (!QDir().mkpath(folder))
        return tr("The folder %1 could not be created.").arg(QDir::toNativeSeparators(folder));
    if (!openUrl_(QUrl::fromLocalFile(folder)))
        return tr("No file manager could be started. The session records are in\n%1")
            .arg(QDir::toNativeSeparators(folder));
    return {};
}
