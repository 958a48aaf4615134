// The window's session record: every byte sent and received with its time,
// every connection change and every verdict, in one JSON Lines file per run of
// the window. The file is opened at the first thing worth recording, so a
// window that never talks to a meter leaves no empty session behind.
//
// When the record cannot be written, or writing resumes, the log says so to
// the handler given (the window's RecordStatus), on that handler's thread.
#pragma once

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <chrono>
#include <string>
#include <functional>
#include <memory>

namespace mb {
class SessionRecord;
}

class SessionLog {
  public:
    // `writing` false: what is recorded now is being lost, and `text` says why.
    using NoticeHandler = std::function<void(bool writing, const QString& text)>;

    SessionLog();
    ~SessionLog();

    void sent(const QString& port, const QByteArray& bytes);
    void received(const QString& port, const QByteArray& bytes);
    void event(const QString& port, const QString& text);
    // An exchange's verdict `text` with its further JSON `members` (core/ExchangeRecordFields.h).
    void exchange(const QString& port, const std::string& text, const std::string& members,
                  std::chrono::system_clock::time_point time);

    // Notices reach `handler` through `context`'s event loop; without a
    // handler they go to standard error.
    void setNoticeHandler(QObject* context, NoticeHandler handler);

    // The folder the records go to ($XDG_DATA_HOME/MeterBench/logs).
    static QString directory();
    // Empty while the record works; otherwise why it cannot write now.
    QString error() const;

  private:
    mb::SessionRecord* record();
    void notify(bool writing, const QString& text);

    std::unique_ptr<mb::SessionRecord> record_;
    QPointer<QObject> context_;
    NoticeHandler handler_;
};
