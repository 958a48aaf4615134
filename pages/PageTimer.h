// Timer of a page's continuous reading. Enabled and interval are independent:
// an enabled timer with interval 0 never ticks (a bare QTimer would fire
// continuously), and intervals up to 999 s are kept to the millisecond.
#pragma once

#include <QObject>
#include <QTimer>

class PageTimer : public QObject {
    Q_OBJECT
  public:
    explicit PageTimer(QObject* parent = nullptr);

    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }
    // Milliseconds; a change while enabled restarts the period.
    void setInterval(int ms);
    int interval() const { return interval_; }
    // Whether ticks will come: enabled with a non-zero interval.
    bool isTicking() const { return timer_.isActive(); }

  signals:
    void tick();

  private:
    void apply();

    QTimer timer_;
    bool enabled_ = false;
    int interval_ = 1000;
};
