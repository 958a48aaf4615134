// The reading history and trend under a long continuous reading, on screen
// (offscreen platform): 10,000 and 100,000 rows appended to the history and
// offered to the chart, the window repainting after each. Reports the time per
// append and repaint (overall, and for the last thousand, which must cost
// about what the first thousand did) and the memory per row of the history.
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

void historyAndTrend(benchmark::State& state) {
    const int kRows = static_cast<int>(state.range(0));
    double perAppendUs = 0, firstThousandUs = 0, lastThousandUs = 0, bytesPerRow = 0;
    for (auto _ : state) {
        HistoryModel model(QStringLiteral("mbus"));
        QWidget window;
        window.resize(600, 700);
        auto* view = new HistoryView(&window);
        view->setGeometry(0, 0, 600, 300);
        auto* chart = new TrendChart(&window);
        chart->setGeometry(0, 300, 600, 400);
        view->setHistory(&model);
        chart->setHistory(&model);
        window.show();
        QApplication::processEvents();
        const std::size_t heapBefore = heapBytes();
        const auto start = std::chrono::system_clock::now();
        QElapsedTimer clock, stretch;
        clock.start();
        stretch.start();
        for (int i = 0; i < kRows; ++i) {
            model.append(answer(i), start + std::chrono::milliseconds(100) * i);
            QApplication::processEvents();  // paints the view and the chart, as between readings
            if (i == 999) firstThousandUs = static_cast<double>(stretch.nsecsElapsed()) / 1e6;
            if (i == kRows - 1001) stretch.restart();
        }
        lastThousandUs = static_cast<double>(stretch.nsecsElapsed()) / 1e6;
        perAppendUs = static_cast<double>(clock.nsecsElapsed()) / 1e3 / kRows;
        // The chart's points are part of what each row costs.
        bytesPerRow = static_cast<double>(heapBytes() - heapBefore) / kRows;
        if (model.rowCount() != std::min<int>(kRows, static_cast<int>(mb::kHistoryCapacity)) || chart->replySeries()->count() == 0 ||
            chart->replySeries()->count() >= 2 * TrendChart::kPoints)
            state.SkipWithError("rows missing, or the chart's points not bounded");
        state.counters["chart_points"] = chart->replySeries()->count();
    }
    state.counters["us_per_append"] = perAppendUs;
    state.counters["first_1000_us_each"] = firstThousandUs;
    state.counters["last_1000_us_each"] = lastThousandUs;
    state.counters["heap_bytes_per_row"] = bytesPerRow;
}

}  // namespace

BENCHMARK(historyAndTrend)->Arg(10'000)->Arg(100'000)->Iterations(1)->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
