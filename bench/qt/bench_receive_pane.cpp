// Receive flood through the window's receive handler with the received-data
// pane on screen (offscreen platform): seconds per megabyte and peak resident
// memory of the process so far. Each megabyte must cost the same as the
// first, also once the pane trims its oldest text (from about 2.7 MB fed on).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include "app/MainForm.h"
#include "tests/support/qt/WindowControls.h"

namespace {

constexpr int kEventBytes = 64;
constexpr qint64 kMegabyte = 1 << 20;

double peakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kB on Linux
}

void receiveFlood(benchmark::State& state) {
    const qint64 megabytes = state.range(0);
    QRandomGenerator rng(1234);
    QByteArray event(kEventBytes, Qt::Uninitialized);
    double firstMb = 0, lastMb = 0, total = 0;
    for (auto _ : state) {
        qputenv("METERBENCH_PORTS", "");
        MainForm form;
        form.show();
        QApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        qint64 mbStart = 0;
        for (qint64 mb = 0; mb < megabytes; ++mb) {
            for (qint64 sent = 0; sent < kMegabyte; sent += kEventBytes) {
                rng.fillRange(reinterpret_cast<quint32*>(event.data()), kEventBytes / 4);
                form.receiveBytes(event);
                QApplication::processEvents();  // the pane repaints between receive events
            }
            const qint64 now = clock.nsecsElapsed();
            const double seconds = static_cast<double>(now - mbStart) / 1e9;
            if (mb == 0) firstMb = seconds;
            lastMb = seconds;
            mbStart = now;
        }
        total = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        // What the pane shows after its trim notice, plus what it trimmed, is all that came.
        const ReceivedPane& pane = form.receivedPane();
        const QString text = pane.text();
        const qsizetype notice = pane.trimmedBytes() > 0 ? text.indexOf(QLatin1Char('\n')) + 1 : 0;
        if (pane.trimmedBytes() + (text.size() - notice) != megabytes * kMegabyte * 3)
            state.SkipWithError("the pane lost bytes");
    }
    state.counters["s_per_MB"] = total / static_cast<double>(megabytes);
    state.counters["first_MB_s"] = firstMb;
    state.counters["last_MB_s"] = lastMb;
    state.counters["peak_RSS_MB"] = peakRssMb();
}

}  // namespace

BENCHMARK(receiveFlood)->Arg(1)->Arg(10)->Arg(100)->Iterations(1)->Unit(benchmark::kSecond);
