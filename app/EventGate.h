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
    bool busy() const { return busy_; }
    int heldCount() const { return static_cast<int>(held_.size()); }

  private:
    void runNow(Handler& handler);
    void releaseNext();

    bool busy_ = false;
    bool releaseQueued_ = false;
    std::deque<std::pair<const void*, Handler>> held_;
};
