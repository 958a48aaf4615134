// The virtual meter and the window connected to it on COM1, with what each
// page's Read Data looks like on the line and in the meter's log.
#pragma once

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <memory>

#include "pages/PageTimer.h"
#include "tests/e2e/E2eSupport.h"

namespace e2e {

struct PageButtons {
    Page page;
    const char* readData;
    const char* start;
    const char* stop;
    const char* request;    // the meter's REQ name of a Read Data it answers
    QString readDataFrame;  // Read Data as the fields are set by MeterBench::usePage
};

inline PageButtons buttonsOf(Page page) {
    if (page == Page::Cj188)
        return {page,
                "Bevelo1",
                "Bevelo11",
                "Bevelo12",
                "cj188 read-data",
                QStringLiteral("FE FE FE 68 10 00 00 00 00 00 33 78 01 03 1F 90 01 D7 16")};
    return {page,       "Bevelo17",     "Bevelo13",
            "Bevelo14", "mbus req-ud2", QStringLiteral("10 5B 01 5C 16")};
}

// One meter process and one window, connected.
class MeterBench {
  public:
    explicit MeterBench(const QStringList& simOptions = {}) : sim(simOptions) {
        if (sim.started()) window = std::make_unique<Window>(sim.path());
    }

    // Shows the page and sets its fields so that its Read Data reaches the
    // meter at its default address (EN1434 DEVICE ID 1; CJ188 as at start).
    void usePage(Page page) {
        if (page == Page::Cj188) {
            w().showCj188Page();
        } else {
            w().showEn1434Page();
            w().type(w().c().Text6, QStringLiteral("1"));
        }
    }

    Window& w() { return *window; }
    PageTimer& timer(Page page) {
        return page == Page::Cj188 ? w().form().page(0).timer() : w().form().page(1).timer();
    }
    QLineEdit* intervalField(Page page) {
        return page == Page::Cj188 ? w().c().Text4 : w().c().Text5;
    }
    // REQ lines of the meter's log that start with `what`.
    int requests(const QString& what) {
        int n = 0;
        for (const QString& line : sim.lines(QStringLiteral("REQ")))
            if (line.startsWith(what)) ++n;
        return n;
    }
    // Waits until the window shows, in "Received Data", every byte the meter wrote.
    bool waitForAllSent(int ms = 3000) {
        return waitFor(
            [&] {
                const Bytes out = sim.sent();
                return !out.empty() && w().received().endsWith(paneEcho(out).right(30)) &&
                       w().rxCaption() == QString::number(out.size());
            },
            ms);
    }

    SimMeter sim;
    std::unique_ptr<Window> window;
};

}  // namespace e2e

#define CONNECT_BENCH_OR_SKIP(bench) \
    START_SIM_OR_SKIP((bench).sim);  \
    ASSERT_TRUE((bench).w().connect()) << "Connect to COM1 failed"
