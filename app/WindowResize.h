// The window may be enlarged beyond its designed size, which is its minimum.
// The extra room goes to what is watched: the main panel, the pages and their
// Transmitted Data panes grow to the right; Received Data and Data Analysis
// grow to the right and down, Data Analysis taking two thirds of the extra
// height. A side pane (the history and trend), while shown, sits right of
// the main panel and takes the first WatchPane::kMinWidth of the extra width
// and half of the rest. Everything else keeps the place the layout gave it,
// and at the designed size every widget is exactly where the layout put it.
#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

class WindowResize : public QObject {
  public:
    // Takes the designed geometry from the laid-out `window` (its current
    // size must be the designed one) and follows its resizes from now on.
    explicit WindowResize(QWidget* window);

    // Places the growing widgets for a window of `size`.
    void apply(QSize size);
    // The pane right of the main panel, placed while visible.
    void setSidePane(QWidget* pane, int minWidth) {
        sidePane_ = pane;
        sidePaneMinWidth_ = minWidth;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // How a widget takes the extra height.
    enum class Vertical { stays, growsAll, growsReceived, growsAnalysis, analysisBelowReceived };
    struct Growing {
        QWidget* widget;
        QRect designed;
        Vertical vertical;
    };

    QWidget* window_;
    QSize designedSize_;
    std::vector<Growing> growing_;
    QWidget* sidePane_ = nullptr;
    int sidePaneMinWidth_ = 0;
    QRect mainPanel_;  // the main panel's designed geometry
};
