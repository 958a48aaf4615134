#include "app/SessionLog.h"

#include <QMetaObject>
#include <cstdlib>
#include <span>

#include "record/SessionRecord.h"

namespace {

std::span<const std::uint8_t> asBytes(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

std::filesystem::path recordDirectory() {
    return mb::SessionRecord::defaultDirectory([](const char* name) { return std::getenv(name); });
}

}  // namespace

SessionLog::SessionLog() = default;

SessionLog::~SessionLog() = default;

void SessionLog::setNoticeHandler(QObject* context, NoticeHandler handler) {
    context_ = context;
    handler_ = std::move(handler);
}

// Called on the record's writer thread as well: the handler runs on its own.
void SessionLog::notify(bool writing, const QString& text) {
    if (!handler_ || !context_) {
        qWarning("MeterBench: session record: %s", qPrintable(text));
        return;
    }
    QMetaObject::invokeMethod(
        context_.data(), [handler = handler_, writing, text] { handler(writing, text); }, Qt::QueuedConnection);
}

mb::SessionRecord* SessionLog::record() {
    if (!record_) {
        mb::RecordOptions options;
        options.onNotice = [this](const mb::RecordNotice& notice) {
            notify(notice.writing, QString::fromStdString(notice.text));
        };
        // A record without a folder still counts what it loses and says so.
        record_ = std::make_unique<mb::SessionRecord>(recordDirectory(), std::chrono::system_clock::now(),
                                                      std::move(options));
    }
    return record_.get();
}

void SessionLog::sent(const QString& port, const QByteArray& bytes) {
    record()->bytes(mb::ByteDirection::tx, port.toStdString(), asBytes(bytes), std::chrono::system_clock::now());
}

void SessionLog::received(const QString& port, const QByteArray& bytes) {
    record()->bytes(mb::ByteDirection::rx, port.toStdString(), asBytes(bytes), std::chrono::system_clock::now());
}

void SessionLog::event(const QString& port, const QString& text) {
    record()->event(port.toStdString(), text.toStdString(), std::chrono::system_clock::now());
}

void SessionLog::exchange(const QString& port, const std::string& text, const std::string& members,
                          std::chrono::system_clock::time_point time) {
    record()->exchange(port.toStdString(), text, members, time);
}

QString SessionLog::directory() {
    return QString::fromStdString(recordDirectory().string());
}

QString SessionLog::error() const {
    return record_ ? QString::fromStdString(record_->error()) : QString();
}
