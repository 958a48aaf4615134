#include "app/ReplyTimeoutSetting.h"

#include <QSettings>
#include <algorithm>
#include <cmath>

namespace {
const QString kKey = QStringLiteral("replyTimeoutSeconds");
}

ReplyTimeoutSetting::ReplyTimeoutSetting(QObject* parent)
    : QObject(parent),
      settings_(
          std::make_unique<QSettings>(QStringLiteral("MeterBench"), QStringLiteral("MeterBench"))) {
    load();
}

ReplyTimeoutSetting::ReplyTimeoutSetting(const QString& path, QObject* parent)
    : QObject(parent), settings_(std::make_unique<QSettings>(path, QSettings::IniFormat)) {
    load();
}

ReplyTimeoutSetting::~ReplyTimeoutSetting() = default;

// A stored value that is not a number in range (edited by hand) means the default.
void ReplyTimeoutSetting::load() {
    bool ok = false;
    const double stored = settings_->value(kKey).toDouble(&ok);
    if (ok && stored >= kMinSeconds && stored <= kMaxSeconds) seconds_ = stored;
}

void ReplyTimeoutSetting::set(std::optional<double> seconds) {
    if (seconds) {
        if (std::isnan(*seconds))
            seconds.reset();
        else
            seconds = std::clamp(*seconds, kMinSeconds, kMaxSeconds);
    }
    if (seconds == seconds_) return;
    seconds_ = seconds;
    if (seconds_)
        settings_->setValue(kKey, *seconds_);
    else
        settings_->remove(kKey);
    settings_->sync();
    emit changed();
}
