#include "app/EventGate.h"

#include <QTimer>

void EventGate::run(const void* kind, Handler handler) {
    if (busy_) {
        for (const auto& held : held_)
            if (held.first == kind) return;
        held_.emplace_back(kind, std::move(handler));
        return;
    }
    runNow(handler);
}

void EventGate::runNow(Handler& handler) {
    busy_ = true;
    struct Release {
        EventGate* gate;
        ~Release() { gate->busy_ = false; }
    } release{this};
    handler();
    if (!held_.empty() && !releaseQueued_) {
        releaseQueued_ = true;
        QTimer::singleShot(0, this, &EventGate::releaseNext);
    }
}

void EventGate::releaseNext() {
    releaseQueued_ = false;
    if (held_.empty()) return;
    if (busy_) {  // a handler started meanwhile; it releases the rest when done
        return;
    }
    auto [kind, handler] = std::move(held_.front());
    held_.pop_front();
    runNow(handler);
    if (!held_.empty() && !releaseQueued_) {
        releaseQueued_ = true;
        QTimer::singleShot(0, this, &EventGate::releaseNext);
    }
}
