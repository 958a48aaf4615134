#include "app/EventGate.h"

#include <QTimer>

void EventGate::run(const void* kind, Handler handler) {
    if (m_busy) {
        for (const auto& held : m_held)
            if (held.first == kind) return;
        m_held.emplace_back(kind, std::move(handler));
        return;
    }
    runNow(handler);
}

void EventGate::runNow(Handler& handler) {
    m_busy = true;
    struct Release {
        EventGate* gate;
        ~Release() { gate->m_busy = false; }
    } release{this};
    handler();
    if (!m_held.empty() && !m_releaseQueued) {
        m_releaseQueued = true;
        QTimer::singleShot(0, this, &EventGate::releaseNext);
    }
}

void EventGate::releaseNext() {
    m_releaseQueued = false;
    if (m_held.empty()) return;
    if (m_busy) {  // a handler started meanwhile; it releases the rest when done
        return;
    }
    auto [kind, handler] = std::move(m_held.front());
    m_held.pop_front();
    runNow(handler);
    if (!m_held.empty() && !m_releaseQueued) {
        m_releaseQueued = true;
        QTimer::singleShot(0, this, &EventGate::releaseNext);
    }
}
