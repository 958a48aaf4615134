#include "app/PageTimer.h"

PageTimer::PageTimer(QObject* parent) : QObject(parent) {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &PageTimer::tick);
}

void PageTimer::setEnabled(bool enabled) {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    apply();
}

void PageTimer::setInterval(int ms) {
    m_interval = qMax(0, ms);
    apply();
}

void PageTimer::apply() {
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}
