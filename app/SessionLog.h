// The window's session record: every byte sent and received with its time,
// every connection change and every verdict, in one JSON Lines file per run of
// the window. The file is opened at the first thing worth recording, so a
// window that never talks to a meter leaves no empty session behind.
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

namespace mb {
class SessionRecord;
}

class SessionLog {
  public:
    SessionLog();
    ~SessionLog();

    void sent(const QString& port, const QByteArray& bytes);
    void received(const QString& port, const QByteArray& bytes);
    void event(const QString& port, const QString& text);

    // The folder the records go to ($XDG_DATA_HOME/MeterBench/logs).
    static QString directory();
    // Empty while the record works; otherwise why it stopped.
    QString error() const;

  private:
    mb::SessionRecord* record();

    std::unique_ptr<mb::SessionRecord> record_;
    bool openFailed_ = false;
};
