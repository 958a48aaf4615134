// The reading history and trend against the virtual meter, every third
// answer withheld: the rows, their CSV, the chart, and a session record read
// back; and Data Analysis keeping the place the user scrolled to.
#include <QAction>
#include <QFile>
#include <QLineSeries>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QScrollBar>

#include "app/HistoryModel.h"
#include "app/HistoryView.h"
#include "app/TrendChart.h"
#include "app/WatchPane.h"
#include "tests/e2e/MeterBench.h"
#include "tests/support/qt/DataHome.h"
#include "widgets/TextPane.h"

using namespace e2e;

namespace {

// What the virtual meter's M-Bus answer holds, in the history's default
// columns: energy, volume, power, volume flow, flow and return temperature.
const double kMeterValues[] = {4711000, 1234.56, 2450, 0.312, 65.2, 44.8};

bool sameRows(const std::deque<mb::HistoryRow>& a, const std::deque<mb::HistoryRow>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].timeUs != b[i].timeUs || a[i].verdict != b[i].verdict || a[i].replyUs != b[i].replyUs) return false;
        for (std::size_t c = 0; c < std::size(kMeterValues); ++c)
            if (a[i].value(c) != b[i].value(c)) return false;
    }
    return true;
}

// The one session record the window wrote into `data`, read back as a history.
void reopenRecord(const TempDataHome& data, HistoryModel& into) {
    const QStringList records = data.records();
    ASSERT_EQ(records.size(), 1);
    HistoryView view;
    view.setHistory(&into);
    ASSERT_EQ(view.openRecord(records[0]), QString());
}

}  // namespace

TEST(ReadingHistory, RowsCsvChartAndRecordOfARunWithSilentAnswers) {
    TempDataHome data;
    ASSERT_TRUE(data.isValid());
    MeterBench bench({QStringLiteral("--fault"), QStringLiteral("silent"), QStringLiteral("--fault-every"),
                      QStringLiteral("3")});
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::En1434);
    bench.w().form().setReplyTimeout(0.3);
    WatchPane& watch = bench.w().form().watchPane();
    watch.setShown(true);
    HistoryModel& history = watch.history(QStringLiteral("mbus"));
    bench.w().click("Bevelo13");
    bench.timer(Page::En1434).setInterval(400);
    ASSERT_TRUE(waitFor([&] { return history.rowCount() >= 7; }, 10000));
    bench.w().click("Bevelo14");
    processEventsFor(500);  // the last request's verdict

    const int rows = history.rowCount();
    bench.sim.pump();
    ASSERT_EQ(rows, bench.requests(QStringLiteral("mbus req-ud2")));
    int silent = 0;
    for (int i = 0; i < rows; ++i) {
        SCOPED_TRACE(i);
        const mb::HistoryRow& row = history.table().rows().at(static_cast<std::size_t>(i));
        const bool withheld = (i + 1) % 3 == 0;
        silent += withheld;
        EXPECT_EQ(row.verdict, withheld ? mb::Verdict::NoReply : mb::Verdict::Pass);
        EXPECT_EQ(row.replyUs.has_value(), !withheld);
        for (std::size_t c = 0; c < std::size(kMeterValues); ++c) {
            if (withheld) EXPECT_FALSE(row.value(c)) << c;
            else EXPECT_NEAR(row.value(c).value_or(-1), kMeterValues[c], 1e-9) << c;
        }
    }
    EXPECT_EQ(bench.sim.lines(QStringLiteral("NOTE")).filter(QStringLiteral("fault silent")).size(), silent);

    const QString csvPath = data.filePath(QStringLiteral("history.csv"));
    ASSERT_EQ(watch.historyView()->saveCsv(csvPath), QString());
    QFile csv(csvPath);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), rows + 2) << "a header, a row each, and the last line's end";
    EXPECT_EQ(lines[0], QStringLiteral("time,verdict,reply_ms,Energy [Wh],Volume [m^3],Power [W],"
                                       "Volume flow [m^3/h],Flow temperature [°C],Return temperature [°C]"));
    const QString time = QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{6}[+-]\\d\\d:\\d\\d,");
    const QRegularExpression pass(time + QStringLiteral("pass,\\d+(\\.\\d+)?,4711000,1234.56,2450,0.312,65.2,44.8$"));
    const QRegularExpression none(time + QStringLiteral("no-reply,,,,,,,$"));
    for (int i = 0; i < rows; ++i)
        EXPECT_TRUE(((i + 1) % 3 == 0 ? none : pass).match(lines[i + 1]).hasMatch()) << lines[i + 1].toStdString();

    TrendChart& chart = *watch.trendChart();
    EXPECT_EQ(chart.quantitySeries()->count(), rows - silent);
    EXPECT_EQ(chart.replySeries()->count(), rows - silent);
    EXPECT_EQ(chart.noReplySeries()->count(), silent);
    chart.setQuantity(4);  // flow temperature
    ASSERT_EQ(chart.quantitySeries()->count(), rows - silent);
    for (const QPointF& point : chart.quantitySeries()->points()) EXPECT_DOUBLE_EQ(point.y(), 65.2);
    const auto& firstRow = history.table().rows().front();
    EXPECT_EQ(chart.replySeries()->at(0), QPointF(static_cast<qreal>(firstRow.timeUs / 1000),
                                                  static_cast<double>(*firstRow.replyUs) / 1000.0));

    // The record, once the window is closed, reads back into the same rows.
    const std::deque<mb::HistoryRow> live = history.table().rows();
    bench.window.reset();
    HistoryModel reopened(QStringLiteral("mbus"));
    reopenRecord(data, reopened);
    EXPECT_TRUE(sameRows(reopened.table().rows(), live));
}

// An operation of several exchanges (all telegrams: SND_NKE and three
// REQ_UD2) records every step, yet is one row, live and read back.
TEST(ReadingHistory, AnOperationOfSeveralStepsIsOneRow) {
    TempDataHome data;
    ASSERT_TRUE(data.isValid());
    MeterBench bench({QStringLiteral("--telegrams"), QStringLiteral("3")});
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::En1434);
    HistoryModel& history = bench.w().form().watchPane().history(QStringLiteral("mbus"));
    QAction* readAll = bench.w().form().findChild<QAction*>(QStringLiteral("MbusOperations.3"));
    ASSERT_NE(readAll, nullptr);
    readAll->trigger();
    ASSERT_TRUE(waitFor([&] { return history.rowCount() == 1; }));
    const std::deque<mb::HistoryRow> live = history.table().rows();
    EXPECT_EQ(live.front().verdict, mb::Verdict::Pass);
    bench.window.reset();
    HistoryModel reopened(QStringLiteral("mbus"));
    reopenRecord(data, reopened);
    EXPECT_TRUE(sameRows(reopened.table().rows(), live));
}

// A new result keeps the place the user scrolled Data Analysis to; unscrolled, it shows the top.
TEST(ReadingHistory, DataAnalysisKeepsTheUsersScrollPosition) {
    MeterBench bench;
    CONNECT_BENCH_OR_SKIP(bench);
    bench.usePage(Page::En1434);
    TextPane& pane = bench.w().form().analysisPane();
    bench.w().click("Bevelo17");
    ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }, 3000));
    ASSERT_GE(pane.verticalScrollBar()->maximum(), 3) << "the reading must be taller than the pane";
    for (const int scrolled : {3, 0}) {
        SCOPED_TRACE(scrolled);
        pane.verticalScrollBar()->setValue(scrolled);
        bench.w().click("Bevelo17");
        ASSERT_FALSE(bench.w().checkPass()) << "the pane starts empty for the new request";
        ASSERT_TRUE(waitFor([&] { return bench.w().checkPass(); }, 3000));
        EXPECT_EQ(pane.verticalScrollBar()->value(), scrolled);
    }
}
