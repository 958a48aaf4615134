// One event at a time: clicks, timer ticks and receive events each run to the
// end before the next one starts. A modal prompt runs a nested event loop;
// anything arriving during it is held (once per kind) and run right after the
// running handler has finished.
#pragma once

#include <QObject>
#include <deque>
#include <functional>

class EventGate : public QObject {
    Q_OBJECT
  public:
    using Handler = std::function<void()>;

    explicit EventGate(QObject* parent = nullptr) : QObject(parent) {}

    // Runs `handler` now, or holds it under `kind` while another handler runs;
    // a second event of a kind already held is merged into the first.
    void run(const void* kind, Handler handler);
    bool busy() const { return m_busy; }
    int heldCount() const { return static_cast<int>(m_held.size()); }

  private:
    void runNow(Handler& handler);
    void releaseNext();

    bool m_busy = false;
    bool m_releaseQueued = false;
    std::deque<std::pair<const void*, Handler>> m_held;
};
