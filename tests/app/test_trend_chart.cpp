// The trend chart spans what the history holds, and stays bounded however
// long the run.
#include <gtest/gtest.h>

#include <QLineSeries>
#include <QScatterSeries>

#include "app/HistoryModel.h"
#include "app/TrendChart.h"

namespace {

using namespace std::chrono_literals;
const auto kStart = std::chrono::system_clock::time_point(std::chrono::seconds(1'800'000'000));

// Row i answers in i ms with a flow of i, one reading a second; every fifth stays silent.
mb::ExchangeResult reading(int i) {
    mb::ExchangeResult result;
    if (i % 5 == 4) return result;
    result.verdict = mb::Verdict::Pass;
    result.replyTime = std::chrono::milliseconds(i);
    result.reading.protocol = "cj188";
    mb::Record flow;
    flow.quantity = "Current cumulative flow";
    flow.unit = "m^3";
    flow.value = static_cast<double>(i);
    result.reading.records.push_back(flow);
    return result;
}

qreal msOfRow(int i) { return static_cast<qreal>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                     (kStart + std::chrono::seconds(i)).time_since_epoch())
                                                     .count()); }

TEST(TrendChart, PastTheHistorysCapacityTheOldestPointsGoToo) {
    struct Case {
        int rows;
        std::size_t capacity;
    };
    // Below and past the cap; and past it after the chart has thinned its points.
    for (const Case c : {Case{41, 100}, Case{251, 100}, Case{1601, 1500}}) {
        SCOPED_TRACE(c.rows);
        HistoryModel history(QStringLiteral("cj188"), nullptr, c.capacity);
        TrendChart chart;
        chart.setHistory(&history);
        for (int i = 0; i < c.rows; ++i) history.append(reading(i), kStart + std::chrono::seconds(i));

        const int firstRow = c.rows - static_cast<int>(std::min<std::size_t>(c.rows, c.capacity));
        const QList<QPointF> flow = chart.quantitySeries()->points();
        ASSERT_FALSE(flow.isEmpty());
        EXPECT_LT(flow.size(), 2 * TrendChart::kPoints);
        EXPECT_GE(flow.front().x(), msOfRow(firstRow));
        EXPECT_LT(flow.front().x(), msOfRow(firstRow + 20));  // not more than thinning leaves out
        EXPECT_EQ(flow.back(), QPointF(msOfRow(c.rows - 1), c.rows - 1));
        for (const QPointF& p : chart.replySeries()->points()) EXPECT_EQ(p.x(), msOfRow(static_cast<int>(p.y())));
        for (const QPointF& p : chart.noReplySeries()->points()) EXPECT_GE(p.x(), msOfRow(firstRow));
    }
}

}  // namespace
