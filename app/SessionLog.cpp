#include "app/SessionLog.h"

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

mb::SessionRecord* SessionLog::record() {
    if (!record_ && !openFailed_) {
        const std::filesystem::path dir = recordDirectory();
        if (dir.empty()) {
            openFailed_ = true;
            return nullptr;
        }
        record_ = std::make_unique<mb::SessionRecord>(dir, std::chrono::system_clock::now());
        if (!record_->isOpen()) {
            qWarning("MeterBench: the session record cannot be written: %s",
                     record_->error().c_str());
            openFailed_ = true;
        }
    }
    return record_ && record_->isOpen() ? record_.get() : nullptr;
}

void SessionLog::sent(const QString& port, const QByteArray& bytes) {
    if (mb::SessionRecord* r = record())
        r->bytes(mb::ByteDirection::tx, port.toStdString(), asBytes(bytes),
                 std::chrono::system_clock::now());
}

void SessionLog::received(const QString& port, const QByteArray& bytes) {
    if (mb::SessionRecord* r = record())
        r->bytes(mb::ByteDirection::rx, port.toStdString(), asBytes(bytes),
                 std::chrono::system_clock::now());
}

void SessionLog::event(const QString& port, const QString& text) {
    if (mb::SessionRecord* r = record())
        r->event(port.toStdString(), text.toStdString(), std::chrono::system_clock::now());
}

QString SessionLog::directory() {
    return QString::fromStdString(recordDirectory().string());
}

QString SessionLog::error() const {
    if (record_ && !record_->isOpen()) return QString::fromStdString(record_->error());
    return openFailed_ ? QStringLiteral("no folder for the session record") : QString();
}
