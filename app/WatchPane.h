// The pane a technician watches a run in: the shown page's Reading History
// above its Trend chart. It sits right of the main panel and is shown and
// hidden by a small "History ▸" button on Data Analysis's title line; hidden,
// the window keeps its designed layout. Showing it widens a window that has
// no room for it; hiding it gives that width back.
//
// Each protocol keeps its own history (HistoryModel) for the window's life;
// the pane shows the shown page's.
#pragma once

#include <QString>
#include <QWidget>
#include <chrono>
#include <map>

#include "core/ExchangeResult.h"

class HistoryModel;
class HistoryView;
class TrendChart;
class QToolButton;

class WatchPane : public QWidget {
    Q_OBJECT
  public:
    // `toggleHost` is the frame whose title line carries the show/hide button.
    WatchPane(QWidget* window, QWidget* toggleHost);

    static constexpr int kMinWidth = 460;

    void add(const mb::ExchangeResult& result, std::chrono::system_clock::time_point time);
    // Shows the history of `protocol` ("mbus", "cj188").
    void showProtocol(const QString& protocol);
    void setShown(bool shown);

    HistoryModel& history(const QString& protocol);
    HistoryView* historyView() const { return view_; }
    TrendChart* trendChart() const { return chart_; }
    QToolButton* toggle() const { return toggle_; }

  signals:
    void notice(const QString& title, const QString& text);
    // The window lays itself out again with or without the pane.
    void shownChanged(bool shown);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void placeToggle();

    QWidget* window_;
    QWidget* toggleHost_;
    QToolButton* toggle_;
    HistoryView* view_;
    TrendChart* chart_;
    std::map<QString, HistoryModel*> histories_;
    int widenedBy_ = 0;  // what showing added to the window's width, given back on hiding
};
