// The reading history and trend under a long continuous reading, on screen
// (offscreen platform): 10,000, 100,000 and 120,000 rows (past the history's
// capacity) appended to the history and offered to the chart. Reports the time
// an append and a repaint take for the first thousand rows and the last
// thousand, which must cost about the same, and the memory per row held.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QElapsedTimer>

#include "app/HistoryModel.h"
#include "app/HistoryView.h"
#include "app/TrendChart.h"
#include <QLineSeries>

namespace {


// An M-Bus heat meter's answer with slowly changing values; every tenth gets no reply.
mb::ExchangeResult answer(int i) {
    mb::ExchangeResult result;
    if (i % 10 == 9) return result;
    result.verdict = mb::Verdict::Pass;
    result.replyTime = std::chrono::microseconds(11'000 + i % 900);
    result.reading.protocol = "mbus";
    const auto add = [&](const char* quantity, const char* unit, double value) {
        mb::Record r;
        r.quantity = quantity;
        r.unit = unit;
        r.value = value;
        result.reading.records.push_back(r);
    };
    add("Energy", "Wh", 4711000.0 + i * 10);
    add("Volume", "m^3", 1234.56 + i * 0.01);
    add("Power", "W", 2450 + i % 50);
    add("Volume flow", "m^3/h", 0.312);
    add("Flow temperature", "°C", 65.2 + (i % 20) * 0.1);
    add("Return temperature", "°C", 44.8);
    return result;
}

std::size_t heapBytes() { return mallinfo2().uordblks; }

// One window with the history table and the chart, as the watch pane shows them.
struct Watch {
    HistoryModel model{QStringLiteral("mbus")};
    QWidget window;
    TrendChart* chart = new TrendChart(&window);
    Watch() {
        window.resize(600, 700);
        auto* view = new HistoryView(&window);
        view->setGeometry(0, 0, 600, 300);
        chart->setGeometry(0, 300, 600, 400);
        view->setHistory(&model);
        chart->setHistory(&model);
        window.show();
        QApplication::processEvents();
    }
};

const auto kStart = std::chrono::system_clock::now();
std::chrono::system_clock::time_point timeOf(int i) { return kStart + std::chrono::milliseconds(100) * i; }

// Microseconds each of `count` appends takes with the window repainted after it,
// as between readings.
double appendAndRepaintUs(Watch& watch, int from, int count) {
    QElapsedTimer clock;
    clock.start();
    for (int i = from; i < from + count; ++i) {
        watch.model.append(answer(i), timeOf(i));
        QApplication::processEvents();
    }
    return static_cast<double>(clock.nsecsElapsed()) / 1e3 / count;
}

// The first thousand rows appended and repainted one by one; then the history
// filled up to `rows` (painted once), and the last thousand appended and
// repainted as the first were. Past the history's capacity each append also
// drops the oldest row, from the table and from the chart.
void historyAndTrend(benchmark::State& state) {
    const int kRows = static_cast<int>(state.range(0));
    constexpr int kMeasured = 1000;
    for (auto _ : state) {
        Watch watch;
        const std::size_t heapBefore = heapBytes();
        const double firstUs = appendAndRepaintUs(watch, 0, kMeasured);
        for (int i = kMeasured; i < kRows - kMeasured; ++i) watch.model.append(answer(i), timeOf(i));
        QApplication::processEvents();
        const double lastUs = appendAndRepaintUs(watch, kRows - kMeasured, kMeasured);
        const auto held = static_cast<double>(watch.model.rowCount());
        state.counters["first_1000_us_each"] = firstUs;
        state.counters["last_1000_us_each"] = lastUs;
        state.counters["heap_bytes_per_row"] = static_cast<double>(heapBytes() - heapBefore) / held;
        state.counters["rows_held"] = held;
        state.counters["chart_points"] = watch.chart->replySeries()->count();
        if (watch.model.rowCount() != std::min<int>(kRows, static_cast<int>(mb::kHistoryCapacity)) ||
            watch.chart->replySeries()->count() == 0 || watch.chart->replySeries()->count() >= 2 * TrendChart::kPoints)
            state.SkipWithError("rows missing, or the chart's points not bounded");
    }
}

}  // namespace

BENCHMARK(historyAndTrend)->Arg(10'000)->Arg(100'000)->Arg(120'000)->Iterations(1)->Unit(benchmark::kSecond);
