#include "app/TrendChart.h"

#include <QContextMenuEvent>
#include <QDateTimeAxis>
#include <QFileDialog>
#include <QLineSeries>
#include <QMenu>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

#include "app/HistoryModel.h"

namespace {

QString columnText(const mb::HistoryColumn& column) {
    QString text = QString::fromStdString(column.quantity);
    if (!column.unit.empty()) text += QStringLiteral(" [") + QString::fromStdString(column.unit) + ']';
    return text;
}

}  // namespace

TrendChart::TrendChart(QWidget* parent) : QChartView(parent) {
    setObjectName(QStringLiteral("TrendChart"));
    setAccessibleName(QStringLiteral("Trend"));
    setAccessibleDescription(QStringLiteral("TrendChart"));
    setRenderHint(QPainter::Antialiasing, false);  // 100,000 points draw faster without

    auto* chart = new QChart();
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    quantitySeries_ = new QLineSeries(chart);
    replySeries_ = new QLineSeries(chart);
    replySeries_->setName(tr("Reply [ms]"));
    noReplySeries_ = new QScatterSeries(chart);
    noReplySeries_->setName(tr("No reply"));
    noReplySeries_->setMarkerSize(7);
    noReplySeries_->setColor(Qt::red);
    noReplySeries_->setBorderColor(Qt::red);
    for (QXYSeries* series : {static_cast<QXYSeries*>(quantitySeries_), static_cast<QXYSeries*>(replySeries_),
                              static_cast<QXYSeries*>(noReplySeries_)})
        chart->addSeries(series);

    timeAxis_ = new QDateTimeAxis(chart);
    timeAxis_->setFormat(QStringLiteral("HH:mm:ss"));
    timeAxis_->setTickCount(4);
    quantityAxis_ = new QValueAxis(chart);
    replyAxis_ = new QValueAxis(chart);
    replyAxis_->setTitleText(tr("ms"));
    chart->addAxis(timeAxis_, Qt::AlignBottom);
    chart->addAxis(quantityAxis_, Qt::AlignLeft);
    chart->addAxis(replyAxis_, Qt::AlignRight);
    quantitySeries_->attachAxis(timeAxis_);
    quantitySeries_->attachAxis(quantityAxis_);
    for (QXYSeries* series : {static_cast<QXYSeries*>(replySeries_), static_cast<QXYSeries*>(noReplySeries_)}) {
        series->attachAxis(timeAxis_);
        series->attachAxis(replyAxis_);
    }
    // The view made a chart of its own and does not free it when replaced.
    QChart* made = this->chart();
    setChart(chart);
    delete made;
    quantityThinned_.series = quantitySeries_;
    replyThinned_.series = replySeries_;
    noReplyThinned_.series = noReplySeries_;

    menu_ = new QMenu(this);
    QAction* save = menu_->addAction(tr("Save as PNG…"));
    save->setObjectName(QStringLiteral("savePngAction"));
    connect(save, &QAction::triggered, this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, tr("Save as PNG"), QStringLiteral("trend.png"), tr("PNG (*.png)"));
        if (!path.isEmpty()) savePng(path);
    });
    quantityMenu_ = menu_->addMenu(tr("Quantity"));
    quantityMenu_->setObjectName(QStringLiteral("trendQuantityMenu"));
    connect(quantityMenu_, &QMenu::aboutToShow, this, &TrendChart::fillQuantityMenu);
    rebuild();
}

void TrendChart::setHistory(HistoryModel* model) {
    if (history_) disconnect(history_, nullptr, this, nullptr);
    history_ = model;
    quantity_.reset();
    if (model && !model->table().columns().empty()) quantity_ = 0;
    if (model) {
        connect(model, &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex&, int first, int last) { appendRows(first, last); });
        connect(model, &QAbstractItemModel::rowsRemoved, this, &TrendChart::dropBeforeFirstRow);
        connect(model, &QAbstractItemModel::modelReset, this, &TrendChart::rebuild);
    }
    rebuild();
}

void TrendChart::setQuantity(std::size_t column) {
    quantity_ = column;
    rebuild();
}

void TrendChart::rebuild() {
    for (Thinned* thinned : {&quantityThinned_, &replyThinned_, &noReplyThinned_}) thinned->reset();
    empty_ = true;
    maxReply_ = 0;
    updateTitle();
    if (!history_) return fitAxes();
    const int rows = history_->rowCount();
    if (rows > 0) appendRows(0, rows - 1);
    fitAxes();
}

void TrendChart::updateTitle() {
    const bool known = history_ && quantity_ && *quantity_ < history_->table().columns().size();
    quantitySeries_->setName(known ? columnText(history_->table().columns()[*quantity_]) : tr("(no quantity)"));
}

void TrendChart::appendRows(int first, int last) {
    if (!history_) return;
    QList<QPointF> quantityPoints, replyPoints, noReplyPoints;
    const auto& rows = history_->table().rows();
    for (int i = first; i <= last; ++i) {
        const mb::HistoryRow& row = rows.at(static_cast<std::size_t>(i));
        const qint64 ms = row.timeUs / 1000;
        const auto x = static_cast<qreal>(ms);
        if (empty_) firstMs_ = ms, minQuantity_ = std::numeric_limits<double>::max(), maxQuantity_ = -minQuantity_;
        lastMs_ = ms;
        empty_ = false;
        if (row.replyUs) {
            const double reply = static_cast<double>(*row.replyUs) / 1000.0;
            replyPoints.append({x, reply});
            maxReply_ = std::max(maxReply_, reply);
        }
        const bool answered = row.verdict == mb::Verdict::Pass || row.verdict == mb::Verdict::Acknowledged ||
                              row.verdict == mb::Verdict::MeterError;
        if (!answered) noReplyPoints.append({x, 0.0});
        if (quantity_)
            if (const std::optional<double> value = row.value(*quantity_)) {
                quantityPoints.append({x, *value});
                minQuantity_ = std::min(minQuantity_, *value);
                maxQuantity_ = std::max(maxQuantity_, *value);
            }
    }
    quantityThinned_.add(quantityPoints);
    replyThinned_.add(replyPoints);
    noReplyThinned_.add(noReplyPoints);
    fitAxes();
}

void TrendChart::dropBeforeFirstRow() {
    if (!history_ || history_->rowCount() == 0) return rebuild();
    firstMs_ = history_->table().rows().front().timeUs / 1000;
    for (Thinned* thinned : {&quantityThinned_, &replyThinned_, &noReplyThinned_})
        thinned->dropBefore(static_cast<qreal>(firstMs_));
    // The ranges shrink to what is left: a rescan of at most 2 × kPoints points.
    if (!quantityThinned_.points.isEmpty()) {
        const auto [low, high] = std::ranges::minmax(quantityThinned_.points, {}, &QPointF::y);
        minQuantity_ = low.y(), maxQuantity_ = high.y();
    }
    maxReply_ = 0;
    for (const QPointF& point : replyThinned_.points) maxReply_ = std::max(maxReply_, point.y());
    fitAxes();
}

void TrendChart::Thinned::dropBefore(qreal x) {
    // Points are in time order; thinned, only one in `stride` rows has one.
    qsizetype gone = 0;
    while (gone < points.size() && points[gone].x() < x) ++gone;
    if (gone == 0) return;
    points.remove(0, gone);
    series->removePoints(0, static_cast<int>(gone));
}

void TrendChart::Thinned::reset() {
    points.clear();
    offered = 0;
    stride = 1;
    series->clear();
}

void TrendChart::Thinned::add(const QList<QPointF>& more) {
    if (more.isEmpty()) return;
    QList<QPointF> kept;
    bool thinned = false;
    for (const QPointF& point : more) {
        if (offered++ % stride != 0) continue;
        kept.append(point);
        if (points.size() + kept.size() < 2 * kPoints) continue;
        // Every other point goes: those left are the rows at multiples of the doubled stride.
        points.append(kept);
        kept.clear();
        QList<QPointF> half;
        half.reserve(kPoints);
        for (qsizetype i = 0; i < points.size(); i += 2) half.append(points[i]);
        points = std::move(half);
        stride *= 2;
        thinned = true;
    }
    points.append(kept);
    if (thinned)
        series->replace(points);
    else
        series->append(kept);
}

void TrendChart::fitAxes() {
    if (empty_) {
        const QDateTime now = QDateTime::currentDateTime();
        timeAxis_->setRange(now.addSecs(-60), now);
        quantityAxis_->setRange(0, 1);
        replyAxis_->setRange(0, 100);
        return;
    }
    timeAxis_->setRange(QDateTime::fromMSecsSinceEpoch(firstMs_),
                        QDateTime::fromMSecsSinceEpoch(std::max(lastMs_, firstMs_ + 1000)));
    if (quantitySeries_->count() > 0) {
        const double span = std::max(maxQuantity_ - minQuantity_, std::abs(maxQuantity_) * 1e-6 + 1e-9);
        quantityAxis_->setRange(minQuantity_ - span * 0.05, maxQuantity_ + span * 0.05);
    }
    replyAxis_->setRange(0, std::max(1.0, maxReply_ * 1.1));
}

void TrendChart::fillQuantityMenu() {
    quantityMenu_->clear();
    if (!history_) return;
    const auto& columns = history_->table().columns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        QAction* action = quantityMenu_->addAction(columnText(columns[i]));
        action->setCheckable(true);
        action->setChecked(quantity_ == i);
        connect(action, &QAction::triggered, this, [this, i] { setQuantity(i); });
    }
}

QString TrendChart::savePng(const QString& path) {
    if (!grab().save(path, "PNG")) return tr("Cannot write %1").arg(path);
    return {};
}

void TrendChart::contextMenuEvent(QContextMenuEvent* event) { menu_->popup(event->globalPos()); }
