#include "pages/PageTimer.h"

PageTimer::PageTimer(QObject* parent) : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &PageTimer::tick);
}

void PageTimer::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    apply();
}

void PageTimer::setInterval(int ms) {
    interval_ = qMax(0, ms);
    apply();
}

void PageTimer::apply() {
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}
