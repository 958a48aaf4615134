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
    bool isEnabled() const { return m_enabled; }
    // Milliseconds; a change while enabled restarts the period.
    void setInterval(int ms);
    int interval() const { return m_interval; }
    // Whether ticks will come: enabled with a non-zero interval.
    bool isTicking() const { return m_timer.isActive(); }

  signals:
    void tick();

  private:
    void apply();

    QTimer m_timer;
    bool m_enabled = false;
    int m_interval = 1000;
};
