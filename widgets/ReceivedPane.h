// The "Received Data" pane: the echo of every receive event, bounded to the
// most recent text (the session record keeps all of it), optionally one
// time-stamped line per event, and a way to the folder of session records.
#pragma once

#include <QTime>
#include <QUrl>
#include <functional>
#include <string_view>

#include "widgets/TextPane.h"

class ReceivedPane : public TextPane {
    Q_OBJECT
  public:
    // Over 8 MB of text the pane drops its oldest down to 6 MB.
    static constexpr qsizetype kLimitBytes = qsizetype{8} << 20;
    static constexpr qsizetype kKeepBytes = qsizetype{6} << 20;

    explicit ReceivedPane(QWidget* parent = nullptr);

    // The echo of one receive event: appended as it is, or with time stamps
    // on, on a line of its own as "[hh:mm:ss.zzz] <echo>".
    void appendReceiveEvent(std::string_view echo, QTime arrival);
    // The same, arriving now. The clock is read only for a time stamp: local
    // time costs system calls, too many for a flood of small events.
    void appendReceiveEventNow(std::string_view echo);
    bool timeStamps() const;
    void setTimeStamps(bool on);

    // Where session records are kept, asked when the user wants to open it:
    // the folder's path, or empty with the reason there is none in `why`.
    void setRecordsFolder(std::function<QString(QString& why)> folder) { recordsFolder_ = std::move(folder); }
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { openUrl_ = std::move(opener); }
    // Creates the records folder if missing and opens it; returns why that
    // failed, empty on success.
    QString openRecordsFolder();

  protected:
    QString trimNotice(qint64 trimmedBytes) const override;

  private:
    QAction* timeStampsAction_ = nullptr;
    bool lastEventStamped_ = false;
    std::function<QString(QString& why)> recordsFolder_;
    std::function<bool(const QUrl&)> openUrl_;
};
