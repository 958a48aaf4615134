// Request to "Check Pass！" through a real pty: the window on COM1, the virtual
// meter (unpaced) serving the other end on a thread. Latency of each page's
// Read Data (median and p99 over 1,000), and resident memory over 10,000 Read
// Data back to back (growth after the first 1,000 should stay under 1 MB).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "app/MainForm.h"
#include "tests/support/qt/WindowControls.h"
#include "tools/sim/line_io.h"
#include "tools/sim/session.h"
#include "widgets/Bevelo.h"

namespace {

using Clock = std::chrono::steady_clock;

// The virtual meter on its own thread, answering on a fresh pty.
class MeterThread {
  public:
    MeterThread() {
        std::string error;
        auto opened = mb::sim::Line::openPty(error);
        if (!opened) return;
        m_line.emplace(std::move(*opened));
        m_devNull = std::fopen("/dev/null", "w");
        m_log = std::make_unique<mb::sim::Logger>(m_devNull);
        // The program's default meter: CJ/T 188 address 78330000000000, the
        // one the CJ188 page reaches with its fields as at start.
        mb::sim::SimSettings settings;
        settings.cj188.address = {0x00, 0x00, 0x00, 0x00, 0x00, 0x33, 0x78};
        m_session = std::make_unique<mb::sim::Session>(settings);
        m_thread = std::thread(
            [this] { mb::sim::serve(*m_line, *m_session, m_settings, *m_log, m_stopper); });
    }
    ~MeterThread() {
        m_stopper.request();
        if (m_thread.joinable()) m_thread.join();
        if (m_devNull) std::fclose(m_devNull);
    }
    bool ok() const { return m_line.has_value(); }
    QString path() const { return QString::fromStdString(m_line->path()); }

  private:
    std::optional<mb::sim::Line> m_line;
    mb::sim::LineSettings m_settings;  // unpaced
    mb::sim::Stopper m_stopper;
    std::FILE* m_devNull = nullptr;
    std::unique_ptr<mb::sim::Logger> m_log;
    std::unique_ptr<mb::sim::Session> m_session;
    std::thread m_thread;
};

// The window connected to the meter, with one page's Read Data ready to go.
struct Rig {
    MeterThread meter;
    std::unique_ptr<MainForm> form;
    Bevelo* readCj188 = nullptr;
    Bevelo* readEn1434 = nullptr;
    QString checkPass = QString::fromUtf8("Check Pass\xEF\xBC\x81");

    Rig() {
        if (!meter.ok()) return;
        qputenv("METERBENCH_PORTS", QStringLiteral("COM1=%1").arg(meter.path()).toLocal8Bit());
        form = std::make_unique<MainForm>();
        form->show();
        emit form->button(QStringLiteral("OpenCOomPort"))->Click();
        WindowControls(form.get()).Text6->setText(QStringLiteral("1"));  // the meter's M-Bus address
        readCj188 = form->button(QStringLiteral("Bevelo1"));
        readEn1434 = form->button(QStringLiteral("Bevelo17"));
    }
    bool ready() const { return form && form->portConnected(); }

    // One Read Data, as the button's click runs it; waits for the pass.
    // Returns the seconds it took, or a negative value on a time-out.
    double readOnce(Page page) {
        const auto start = Clock::now();
        emit(page == Page::Cj188 ? readCj188 : readEn1434)->Click();
        const auto limit = start + std::chrono::seconds(2);
        while (!form->analysisPane().text().startsWith(checkPass)) {
            if (Clock::now() > limit) return -1;
            QCoreApplication::processEvents();
        }
        return std::chrono::duration<double>(Clock::now() - start).count();
    }
};

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const auto k = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(k, v.size() - 1)];
}

void readDataLatency(benchmark::State& state) {
    const Page page = state.range(0) == 0 ? Page::Cj188 : Page::En1434;
    Rig rig;
    if (!rig.ready()) {
        state.SkipWithError("the window could not connect to the virtual meter");
        return;
    }
    for (int k = 0; k < 20; ++k) rig.readOnce(page);  // warm-up
    std::vector<double> samples;
    samples.reserve(1000);
    for (auto _ : state) {
        const double s = rig.readOnce(page);
        if (s < 0) {
            state.SkipWithError("no Check Pass within 2 s");
            return;
        }
        state.SetIterationTime(s);
        samples.push_back(s);
    }
    state.counters["median_ms"] = percentile(samples, 0.5) * 1e3;
    state.counters["p99_ms"] = percentile(samples, 0.99) * 1e3;
    state.counters["max_ms"] = percentile(samples, 1.0) * 1e3;
}

double rssMb() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
           (1024.0 * 1024.0);
}

void readDataMemory(benchmark::State& state) {
    for (auto _ : state) {
        Rig rig;
        if (!rig.ready()) {
            state.SkipWithError("the window could not connect to the virtual meter");
            return;
        }
        double afterFirstThousand = 0;
        for (int k = 1; k <= 10000; ++k) {
            // Both pages in turn: CJ188 and M-Bus answers through the same ring.
            if (rig.readOnce(k % 2 ? Page::Cj188 : Page::En1434) < 0) {
                state.SkipWithError("no Check Pass within 2 s");
                return;
            }
            if (k == 1000) afterFirstThousand = rssMb();
        }
        const double atEnd = rssMb();
        state.counters["rss_after_1000_MB"] = afterFirstThousand;
        state.counters["rss_after_10000_MB"] = atEnd;
        state.counters["growth_MB"] = atEnd - afterFirstThousand;
        state.counters["received_bytes"] = static_cast<double>(rig.form->rxCount());
    }
}

}  // namespace

BENCHMARK(readDataLatency)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("page")
    ->Iterations(1000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(readDataMemory)->Iterations(1)->Unit(benchmark::kSecond);
