// "Trend": one chosen quantity of a page's reading history and the reply
// time, over the run, with the exchanges that got no valid reply marked. It
// follows the history as rows come (live during continuous reading) and is
// rebuilt when the history is cleared, reopened or another quantity chosen.
//
// Bounded: however long the run, a series draws fewer than 2 × kPoints
// points spread evenly over it. When a series reaches that, every other point
// goes and from then on only every second row (then fourth, ...) is drawn, so
// an append and a repaint cost the same after 100,000 rows as after 100.
// The chart spans what the history holds: once the history is full and drops
// its oldest rows, the points before its first row go too.
#pragma once

#include <QChartView>
#include <QPointer>
#include <optional>

class HistoryModel;
class QLineSeries;
class QScatterSeries;
class QDateTimeAxis;
class QValueAxis;
class QMenu;
class QXYSeries;

class TrendChart : public QChartView {
    Q_OBJECT
  public:
    // About the chart's width in pixels: more points than pixels show nothing more.
    static constexpr int kPoints = 500;

    explicit TrendChart(QWidget* parent = nullptr);

    void setHistory(HistoryModel* model);
    // The charted quantity: an index into the history's table columns.
    void setQuantity(std::size_t column);
    std::optional<std::size_t> quantity() const { return quantity_; }

    QLineSeries* quantitySeries() const { return quantitySeries_; }
    QLineSeries* replySeries() const { return replySeries_; }
    QScatterSeries* noReplySeries() const { return noReplySeries_; }

    // Returns why it failed, empty on success.
    QString savePng(const QString& path);
    // Save as PNG…, and the Quantity submenu (objectNames savePngAction, trendQuantityMenu).
    QMenu* contextMenu() const { return menu_; }

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void rebuild();
    void appendRows(int first, int last);
    // The history dropped its oldest rows: drop the points older than its first.
    void dropBeforeFirstRow();
    void fillQuantityMenu();
    void fitAxes();
    void updateTitle();

    // A series with the rows it draws: every stride-th of those offered.
    struct Thinned {
        QXYSeries* series = nullptr;
        QList<QPointF> points;
        qint64 offered = 0;
        qint64 stride = 1;
        void reset();
        void add(const QList<QPointF>& more);
        void dropBefore(qreal x);
    };

    QPointer<HistoryModel> history_;
    Thinned quantityThinned_, replyThinned_, noReplyThinned_;
    std::optional<std::size_t> quantity_;
    QLineSeries* quantitySeries_ = nullptr;
    QLineSeries* replySeries_ = nullptr;
    QScatterSeries* noReplySeries_ = nullptr;
    QDateTimeAxis* timeAxis_ = nullptr;
    QValueAxis* quantityAxis_ = nullptr;
    QValueAxis* replyAxis_ = nullptr;
    QMenu* menu_ = nullptr;
    QMenu* quantityMenu_ = nullptr;
    // The ranges the points span, kept as they come rather than rescanned.
    double minQuantity_ = 0, maxQuantity_ = 0, maxReply_ = 0;
    qint64 firstMs_ = 0, lastMs_ = 0;
    bool empty_ = true;
};
